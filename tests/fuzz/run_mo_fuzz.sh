#!/usr/bin/env bash
# Builds the .mo reader fuzzer and runs it for a bounded time; exits non-zero
# when it finds a crash, a sanitizer report or a hang.
#   run_mo_fuzz.sh [output-dir]      (default <repo>/build/fuzz)
#   MO_FUZZ_SECONDS=N                run time, 30 s by default
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
out="${1:-$repo/build/fuzz}"
seconds="${MO_FUZZ_SECONDS:-30}"
cxx="${CXX:-clang++}"
mkdir -p "$out/corpus" "$out/artifacts"

"$cxx" -std=c++20 -O1 -I"$repo/src" \
    "$repo/tests/fuzz/mo_seed_gen.cpp" "$repo/src/i18n/core/MoCatalog.cpp" \
    -o "$out/mo_seed_gen"
"$out/mo_seed_gen" "$out/corpus"

"$cxx" -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -Wall -Wextra -Wpedantic -I"$repo/src" \
    "$repo/tests/fuzz/mo_fuzz.cpp" "$repo/src/i18n/core/MoCatalog.cpp" "$repo/src/i18n/core/Translate.cpp" \
    -o "$out/mo_fuzz"

# The corpus directory keeps what earlier runs found; crashes land in artifacts/.
"$out/mo_fuzz" -max_total_time="$seconds" -timeout=10 -max_len=4096 \
    -artifact_prefix="$out/artifacts/" "$out/corpus"
