#!/usr/bin/env bash
# Installs what is missing, builds the three presets and runs every test tier: the native
# unit tests (ASan + UBSan), the Windows-side and end-to-end tests of the 64-bit program
# under Wine, the same tiers of the 32-bit program where this host can execute 32-bit
# programs, and the quick fuzz pass. Ends non-zero when anything failed; a tier that cannot
# run here is shown as skipped, with the reason, never as passed, and so is every test that was
# skipped or any Wine step that was tried again.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

summary=()
failed=0
started=$SECONDS

notes_dir=$root/build/test-notes
rm -rf "$notes_dir"
mkdir -p "$notes_dir"
notes=()

# step NAME COMMAND...: runs a step unless a step it needs failed (NEEDS names that step).
# What the step's tests skipped or tried again is noted in $notes_dir/NAME.txt (by the harness
# and wine-run.sh) and in $notes_dir/NAME.xml (ctest's JUnit file, see ctest_tier).
step() {
    local name=$1
    shift
    if [ -n "${NEEDS:-}" ] && [[ " ${broken[*]:-} " == *" $NEEDS "* ]]; then
        summary+=("$(printf '%-22s skipped (%s failed)' "$name" "$NEEDS")")
        broken+=("$name")
        return
    fi
    echo "=== $name"
    local begin=$SECONDS status=ok
    PRAVELO_TEST_NOTES=$notes_dir/$name.txt STEP=$name "$@" || { status=FAILED; failed=1; broken+=("$name"); }
    summary+=("$(printf '%-22s %-8s %5ds' "$name" "$status" $((SECONDS - begin)))")
    local line
    while IFS= read -r line; do notes+=("$line"); done < <(python3 scripts/test-notes.py "$name" \
        "$notes_dir/$name.txt" "$notes_dir/$name.xml")
}
broken=()

# ctest_tier PRESET ARGS...: ctest with the JUnit file that names the skipped tests.
ctest_tier() {
    ctest --preset "$1" --output-junit "$notes_dir/$STEP.xml" "${@:2}"
}

# Builds stopped half-way leave no server, desktop or display of their prefixes behind.
stop_build_prefixes() {
    local state
    for state in build/windows-x64/wine build/windows/wine; do
        [ -d "$state" ] && scripts/wine-run.sh --cleanup "$state"
    done
}
trap 'stop_build_prefixes; exit 130' INT TERM

# skip NAME REASON: a step that cannot run on this host.
skip() {
    summary+=("$(printf '%-22s skipped (%s)' "$1" "$2")")
}

# What the 32-bit tier leaves to the 64-bit one (see below); ctest names.
left_to_64_bit=(RefreshWork e2e_test_automation e2e_test_harness_selftest e2e_test_lifecycle
                e2e_test_simple_mode e2e_test_startup_switches e2e_test_update_refusals)

step deps scripts/install-deps.sh
NEEDS=deps step configure-native cmake --preset native
NEEDS=configure-native step build-native cmake --build --preset native -j2
NEEDS=build-native step test-native ctest --preset native -j2
NEEDS=deps step configure-windows-x64 cmake --preset windows-x64
NEEDS=configure-windows-x64 step build-windows-x64 cmake --build --preset windows-x64 -j2
# Three at a time: the Windows-side cases take turns in one prefix, the end-to-end files
# beside them spend most of their time waiting for Wine.
NEEDS=build-windows-x64 step test-windows-x64 ctest_tier windows-x64 -j3
NEEDS=deps step configure-windows cmake --preset windows
NEEDS=configure-windows step build-windows cmake --build --preset windows -j2
gap_32bit=$(source scripts/wine-env.sh && host_32bit_gap)
if [ -z "$gap_32bit" ]; then
    # The second width runs every Windows-side case and the end-to-end files whose subject
    # depends on the width (processes of both widths, the system folder, the tray and
    # taskbar drawing, starting an update, the memory areas' WOW64 gates and 32-bit records);
    # the rest of the end-to-end files and the long refresh run test code that is the same in
    # both programs and run for 64 bits. The package step installs and removes both widths'
    # installers.
    NEEDS=build-windows step test-windows ctest_tier windows -j3 \
        -E "^($(IFS='|'; echo "${left_to_64_bit[*]}"))\$"
    summary+=("$(printf '%-22s %s' '' "left to the 64-bit tier: ${left_to_64_bit[*]}")")
else
    skip test-windows "$gap_32bit"
fi
NEEDS=deps step package tests/package/run.sh
if [ -x scripts/fuzz.sh ]; then
    NEEDS=deps step fuzz-quick scripts/fuzz.sh --quick
fi

echo
echo "=== summary"
printf '%s\n' "${summary[@]}"
printf '%-22s %-8s %5ds\n' total "$([ $failed = 0 ] && echo ok || echo FAILED)" $((SECONDS - started))
echo "=== skipped or retried"
if [ ${#notes[@]} -gt 0 ]; then printf '%s\n' "${notes[@]}"; else echo "nothing"; fi
exit $failed
