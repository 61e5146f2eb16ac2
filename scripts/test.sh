#!/usr/bin/env bash
# Installs what is missing, builds both presets and runs every test tier: the native unit
# tests (ASan + UBSan), the Windows-side tests and the end-to-end tests under Wine, and the
# quick fuzz pass when there is one. Ends non-zero when anything failed.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

summary=()
failed=0
started=$SECONDS

# step NAME COMMAND...: runs a step unless a step it needs failed (NEEDS names that step).
step() {
    local name=$1
    shift
    if [ -n "${NEEDS:-}" ] && [[ " ${broken[*]:-} " == *" $NEEDS "* ]]; then
        summary+=("$(printf '%-22s %-8s' "$name" skipped)")
        broken+=("$name")
        return
    fi
    echo "=== $name"
    local begin=$SECONDS status=ok
    "$@" || { status=FAILED; failed=1; broken+=("$name"); }
    summary+=("$(printf '%-22s %-8s %5ds' "$name" "$status" $((SECONDS - begin)))")
}
broken=()

step deps scripts/install-deps.sh
NEEDS=deps step configure-native cmake --preset native
NEEDS=configure-native step build-native cmake --build --preset native -j2
NEEDS=build-native step test-native ctest --preset native -j2
NEEDS=deps step configure-windows cmake --preset windows
NEEDS=configure-windows step build-windows cmake --build --preset windows -j2
NEEDS=build-windows step test-windows ctest --preset windows -j2
NEEDS=deps step package tests/package/run.sh
if [ -x scripts/fuzz.sh ]; then
    NEEDS=deps step fuzz-quick scripts/fuzz.sh --quick
fi

echo
echo "=== summary"
printf '%s\n' "${summary[@]}"
printf '%-22s %-8s %5ds\n' total "$([ $failed = 0 ] && echo ok || echo FAILED)" $((SECONDS - started))
exit $failed
