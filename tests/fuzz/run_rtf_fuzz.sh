#!/usr/bin/env bash
# Builds the fuzzer of the RTF part scan and runs it for a bounded time,
# seeded with the RTF fixtures; exits non-zero when it finds a crash, a
# sanitizer report or a hang.
#   run_rtf_fuzz.sh [output-dir]     (default <repo>/build/fuzz)
#   RTF_FUZZ_SECONDS=N               run time, 30 s by default
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
out="${1:-$repo/build/fuzz}"
seconds="${RTF_FUZZ_SECONDS:-30}"
cxx="${CXX:-clang++}"
mkdir -p "$out/rtf-corpus" "$out/artifacts"
cp "$repo"/tests/fixtures/*.rtf "$out/rtf-corpus/"

"$cxx" -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -Wall -Wextra -Wpedantic -I"$repo/src" \
    "$repo/tests/fuzz/rtf_fuzz.cpp" "$repo/src/text/core/RtfContent.cpp" \
    -o "$out/rtf_fuzz"

"$out/rtf_fuzz" -max_total_time="$seconds" -timeout=10 -max_len=65536 \
    -dict=<(printf '"\\\\footnote"\n"\\\\ftnalt"\n"\\\\*"\n"\\\\annotation"\n"\\\\header"\n"\\\\field"\n"\\\\fldinst"\n"HYPERLINK"\n"\\\\bin"\n"\\\\shp"\n"{"\n"}"\n') \
    -artifact_prefix="$out/artifacts/rtf-" "$out/rtf-corpus"
