#!/usr/bin/env bash
# Installs what a Debian machine lacks for building and testing Tolvane, and
# cross-builds libjpeg-turbo for mingw-w64 from the distribution's source package.
# Idempotent: a second run only checks and returns.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${TOLVANE_BUILD:-$ROOT/build}
DEPS=$BUILD/deps
JPEG_PREFIX=$DEPS/libjpeg-mingw
SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo

need_pkgs=()
check() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed" || need_pkgs+=("$1"); }
for p in cmake make g++ g++-mingw-w64-x86-64-posix wine64 wine xvfb xdotool \
         gstreamer1.0-plugins-base gstreamer1.0-plugins-good fonts-wine fonts-liberation gettext \
         libgtest-dev libbenchmark-dev libjpeg62-turbo-dev dpkg-dev clang libclang-rt-14-dev python3 x11-apps \
         sox lame libjpeg-turbo-progs nsis optipng x11-utils; do
  check "$p"
done
if [ ${#need_pkgs[@]} -gt 0 ]; then
  echo "setup: installing ${need_pkgs[*]}"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${need_pkgs[@]}"
fi

if [ ! -f "$JPEG_PREFIX/lib/libjpeg.a" ]; then
  # The source package comes from the same archive as the binaries.
  if ! grep -rqs '^Types: deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
    src=$(ls /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
    if [ -n "$src" ]; then
      sed 's/^Types: deb$/Types: deb-src/' "$src" | $SUDO tee /etc/apt/sources.list.d/tolvane-deb-src.sources >/dev/null
    else
      grep '^deb ' /etc/apt/sources.list | grep -v -e cloud.google -e nodesource | sed 's/^deb /deb-src /' \
        | $SUDO tee /etc/apt/sources.list.d/tolvane-deb-src.list >/dev/null
    fi
    $SUDO apt-get update -q
  fi
  mkdir -p "$DEPS/src"
  (cd "$DEPS/src" && { ls -d libjpeg-turbo-*/ >/dev/null 2>&1 || apt-get source -q libjpeg-turbo; })
  srcdir=$(ls -d "$DEPS"/src/libjpeg-turbo-*/ | head -n1)
  cmake -S "$srcdir" -B "$DEPS/libjpeg-build" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$JPEG_PREFIX" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF -DWITH_JPEG8=OFF -DCMAKE_POSITION_INDEPENDENT_CODE=OFF >/dev/null
  cmake --build "$DEPS/libjpeg-build" -j"$(nproc)" --target jpeg-static >/dev/null
  cmake --install "$DEPS/libjpeg-build" >/dev/null 2>&1 || true
  # The install rule may want targets we did not build; place the pieces we need by hand.
  mkdir -p "$JPEG_PREFIX/lib" "$JPEG_PREFIX/include"
  cp "$DEPS/libjpeg-build/libjpeg.a" "$JPEG_PREFIX/lib/"
  cp "$srcdir"/jpeglib.h "$srcdir"/jmorecfg.h "$srcdir"/jerror.h "$DEPS/libjpeg-build/jconfig.h" "$JPEG_PREFIX/include/"
fi
echo "setup: ready"
