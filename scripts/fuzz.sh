#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang into build/fuzz and runs each one.
#   scripts/fuzz.sh [INPUTS]   runs every target for INPUTS inputs (default 1000000)
#   scripts/fuzz.sh --quick    a short bounded pass for CI: 15 s per target at most
# Prints the inputs run per target; exits non-zero when a target finds a fault (the input
# that caused it is kept in build/fuzz/artifacts).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=$root/build/fuzz
cxx=${FUZZ_CXX:-clang++}

inputs=1000000
limit=()
case "${1:-}" in
    --quick) inputs=100000000; limit=(-max_total_time=15) ;;
    '') ;;
    *[!0-9]*) echo "usage: $0 [INPUTS | --quick]" >&2; exit 2 ;;
    *) inputs=$1 ;;
esac

mkdir -p "$out/artifacts"
flags=(-std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
       -Wall -Wextra -Werror -I"$root/src" -I"$root/tests")

numeric_sources=("$root/src/base/numeric.cpp" "$root/src/base/exact_decimal.cpp")

run() {
    local name=$1 corpus=$out/corpus/$1 log=$out/$1.log
    mkdir -p "$corpus"
    local extra=()
    [ -f "$root/tests/fuzz/$name.dict" ] && extra+=(-dict="$root/tests/fuzz/$name.dict")
    local start=$SECONDS status=0
    "$out/$name" -runs="$inputs" "${limit[@]}" "${extra[@]}" -artifact_prefix="$out/artifacts/$name-" \
        -print_final_stats=1 "$corpus" "$root/tests/fuzz/seeds/$name" >"$log" 2>&1 || status=$?
    local count
    count=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    if [ "$status" -ne 0 ]; then
        echo "$name: FAULT after ${count:-?} inputs, see $log"
        grep -m 5 -E '_fuzz\.cpp:[0-9]+: |ERROR|runtime error|Test unit written' "$log" || true
        return 1
    fi
    echo "$name: ${count:-?} inputs in $((SECONDS - start)) s"
}

failed=0
# NAME SOURCES...: a target whose sources are not all on this branch is reported and skipped.
fuzz() {
    local name=$1 source
    shift
    for source in "$@"; do
        if [ ! -f "$source" ]; then
            echo "$name: skipped, ${source#"$root"/} is not on this branch"
            return
        fi
    done
    if ! "$cxx" "${flags[@]}" "$@" -o "$out/$name"; then
        echo "$name: does not build"
        failed=1
        return
    fi
    run "$name" || failed=1
}
fuzz version_file "$root/tests/fuzz/version_file_fuzz.cpp" "$root/src/update/sequential_items.cpp" \
    "$root/src/update/version_file.cpp" "${numeric_sources[@]}"
fuzz numeric "$root/tests/fuzz/numeric_fuzz.cpp" "${numeric_sources[@]}"
fuzz signed_version "$root/tests/fuzz/signed_version_fuzz.cpp" "$root/src/update/signed_version_file.cpp" \
    "$root/src/update/verified_executable.cpp" "$root/src/update/version_file.cpp" \
    "$root/src/update/sequential_items.cpp" "$root/src/update/sha256.cpp" "$root/src/base/hex.cpp" \
    "${numeric_sources[@]}"
exit "$failed"
