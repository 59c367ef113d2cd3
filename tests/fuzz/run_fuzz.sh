#!/usr/bin/env bash
# Builds every fuzz target of targets.txt and runs each for a bounded time;
# exits non-zero when one finds a crash, a sanitizer report (leaks included)
# or a hang. Prints each target's run count.
#   run_fuzz.sh [output-dir] [name...]   (default <repo>/build/fuzz, every target)
#   FUZZ_SECONDS=N                       run time of each target, 8 s by default
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
here="$repo/tests/fuzz"
out="${1:-$repo/build/fuzz}"
shift || true
only=" $* "
seconds="${FUZZ_SECONDS:-8}"
cxx="${CXX:-clang++}"
status=0

trim() { local s="$1"; s="${s#"${s%%[![:space:]]*}"}"; echo "${s%"${s##*[![:space:]]}"}"; }

while IFS='|' read -r name sources libs seeds maxlen; do
    name=$(trim "$name")
    [[ -z "$name" || "$name" == \#* ]] && continue
    [[ "$only" != "  " && "$only" != *" $name "* ]] && continue
    dir="$out/$name"
    mkdir -p "$dir/corpus" "$dir/artifacts"
    srcs=()
    for s in $sources; do srcs+=("$repo/src/$s"); done
    for s in $(trim "$seeds"); do
        if [[ "$s" == gen:* ]]; then
            "$cxx" -std=c++20 -O1 -I"$repo/src" "$here/${s#gen:}" "${srcs[@]}" -o "$dir/seed_gen"
            "$dir/seed_gen" "$dir/corpus"
        else
            for f in "$repo/tests/fixtures/"$s; do [[ -f "$f" ]] && cp "$f" "$dir/corpus/seed-$(basename "$f")"; done
        fi
    done
    # shellcheck disable=SC2086
    "$cxx" -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
        -Wall -Wextra -Wpedantic -I"$repo/src" -I"$here" \
        "$here/${name}_fuzz.cpp" "${srcs[@]}" $libs -o "$dir/fuzz"
    # The corpus keeps what earlier runs found; what breaks a promise lands in artifacts/.
    # A target's own dictionary of tokens, where it has one (<name>.dict).
    dict=()
    [[ -f "$here/$name.dict" ]] && dict=(-dict="$here/$name.dict")
    if "$dir/fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len="$(trim "$maxlen")" \
        "${dict[@]}" -print_final_stats=1 -artifact_prefix="$dir/artifacts/" "$dir/corpus" > "$dir/log" 2>&1; then
        runs=$(grep -Eo '^stat::number_of_executed_units: *[0-9]+' "$dir/log" | grep -Eo '[0-9]+$' || echo '?')
        echo "fuzz $name: $runs runs in $seconds s, no problem found"
    else
        echo "fuzz $name: FAILED"
        tail -40 "$dir/log"
        status=1
    fi
done < "$here/targets.txt"
exit $status
