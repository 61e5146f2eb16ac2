#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, in the build's private prefix and display.
#   wine-run.sh win32|win64 STATEDIR program.exe [args...]   (CMake's cross-compiling emulator)
#   wine-run.sh --cleanup STATEDIR                           (stops both and removes the prefix)
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/wine-env.sh"

if [ "${1:-}" = "--cleanup" ]; then
    state=$2
    wine_prefix_destroy "$state/prefix"
    xvfb_stop "$state"
    exit 0
fi

wine_use "$1"
state=$2
shift 2
mkdir -p "$state"
# Listing a test program's cases (ctest does it before a run) needs no display; a display
# started for it would outlive a run that then selects none of the Windows-side tests.
listing=0
for arg in "$@"; do [ "$arg" = --gtest_list_tests ] && listing=1; done
(
    flock 9
    if [ ! -f "$state/prefix/system.reg" ]; then
        rm -rf "$state/prefix"
        wine_prefix_create "$state/prefix"
    fi
    if [ $listing = 0 ] && { [ ! -s "$state/display" ] || ! kill -0 "$(cat "$state/xvfb.pid" 2>/dev/null)" 2>/dev/null; }; then
        xvfb_start "$state" 9>&-
    fi
    # Keep the server between the many short test programs (it goes by itself after a
    # minute idle); started here so that it holds neither the lock nor the caller's output.
    WINEPREFIX="$state/prefix" wineserver -p60 </dev/null >/dev/null 2>&1 9>&- || true
    # Wine's own background processes (services, devices, the desktop) start with the first
    # program and outlive it; let them start here, away from the caller's output pipe,
    # which would otherwise stay open until they end.
    display=
    [ $listing = 1 ] || display=$(xvfb_display "$state")
    WINEPREFIX="$state/prefix" DISPLAY=$display "$WINE" cmd.exe /c exit 0 </dev/null >/dev/null 2>&1 9>&- || true
) 9>"$state/lock"

export WINEPREFIX="$state/prefix"
unset DISPLAY
if [ $listing = 0 ]; then
    DISPLAY=$(xvfb_display "$state")
    export DISPLAY
fi
exec "$WINE" "$@"
