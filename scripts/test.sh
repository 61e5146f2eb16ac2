#!/usr/bin/env bash
# Installs what is missing, builds the three presets and runs every test tier: the native
# unit tests (ASan + UBSan), the Windows-side and end-to-end tests of the 64-bit program
# under Wine, the same tiers of the 32-bit program where this host can execute 32-bit
# programs, and the quick fuzz pass. Ends non-zero when anything failed; a tier that cannot
# run here is shown as skipped, with the reason, never as passed.
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

# skip NAME REASON: a step that cannot run on this host.
skip() {
    summary+=("$(printf '%-22s skipped (%s)' "$1" "$2")")
}

# What the 32-bit tier leaves to the 64-bit one (see below); ctest names.
left_to_64_bit=(RefreshWork e2e_test_areas e2e_test_automation e2e_test_harness_selftest e2e_test_lifecycle
                e2e_test_simple_mode e2e_test_startup_switches e2e_test_update_refusals)

step deps scripts/install-deps.sh
NEEDS=deps step configure-native cmake --preset native
NEEDS=configure-native step build-native cmake --build --preset native -j2
NEEDS=build-native step test-native ctest --preset native -j2
NEEDS=deps step configure-windows-x64 cmake --preset windows-x64
NEEDS=configure-windows-x64 step build-windows-x64 cmake --build --preset windows-x64 -j2
# Three at a time: the Windows-side cases take turns in one prefix, the end-to-end files
# beside them spend most of their time waiting for Wine.
NEEDS=build-windows-x64 step test-windows-x64 ctest --preset windows-x64 -j3
NEEDS=deps step configure-windows cmake --preset windows
NEEDS=configure-windows step build-windows cmake --build --preset windows -j2
# Decided by running Wine's 32-bit loader, not by guessing from the kernel.
if (source scripts/wine-env.sh && host_runs_32bit); then
    # The second width runs every Windows-side case and the end-to-end files whose subject
    # depends on the width (processes of both widths, the system folder, the tray and
    # taskbar drawing, starting an update); the rest of the end-to-end files and the long
    # refresh run test code that is the same in both programs and run for 64 bits.
    NEEDS=build-windows step test-windows ctest --preset windows -j3 \
        -E "^($(IFS='|'; echo "${left_to_64_bit[*]}"))\$"
    summary+=("$(printf '%-22s %s' '' "left to the 64-bit tier: ${left_to_64_bit[*]}")")
else
    skip test-windows "this host cannot execute 32-bit programs"
fi
NEEDS=deps step package tests/package/run.sh
if [ -x scripts/fuzz.sh ]; then
    NEEDS=deps step fuzz-quick scripts/fuzz.sh --quick
fi

echo
echo "=== summary"
printf '%s\n' "${summary[@]}"
printf '%-22s %-8s %5ds\n' total "$([ $failed = 0 ] && echo ok || echo FAILED)" $((SECONDS - started))
exit $failed
