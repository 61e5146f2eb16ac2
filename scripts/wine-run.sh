#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, in the build's private prefix and display.
#   wine-run.sh win32|win64 STATEDIR program.exe [args...]   (CMake's cross-compiling emulator)
#   wine-run.sh --cleanup STATEDIR                           (stops both and removes the prefix)
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/wine-env.sh"

if [ "${1:-}" = "--cleanup" ]; then
    state=$2
    holder=$(cat "$state/holder.pid" 2>/dev/null)
    ! wine_process_of "$holder" "$state/prefix" || kill "$holder"
    rm -f "$state/holder.pid"
    wine_prefix_destroy "$state/prefix"
    xvfb_stop "$state"
    exit 0
fi

wine_use "$1"
state=$2
shift 2
mkdir -p "$state"
export WINEPREFIX="$state/prefix"
unset DISPLAY
# Wine closes a desktop one second after its last program ended; a program that starts while
# its desktop process is closing gets no windows (CreateWindowEx gives null, timers never tick).
# Each case is a program of its own, so a console program holds the desktop between them, this
# long at most, and is started again when it is gone.
desktop_hold_s=900
# Wine waits this long for a new desktop process before a program's windows fail.
desktop_wait_s=10
desktop_tries=3

# desktop_hold: the holder and the desktop process it keeps, started with the display, with
# the desktop waited for by a program that makes a window and ends.
desktop_hold() {
    wine_process_of "$(cat "$state/holder.pid" 2>/dev/null)" "$WINEPREFIX" && return 0
    "${WINE[@]}" cmd.exe /c ping -n $desktop_hold_s 127.0.0.1 </dev/null >/dev/null 2>&1 9>&- &
    echo $! >"$state/holder.pid"
    local try begin took
    for try in $(seq 1 $desktop_tries); do
        begin=$(date +%s)
        "${WINE[@]}" rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1 9>&-
        took=$(($(date +%s) - begin))
        [ $took -lt $desktop_wait_s ] && return 0
        test_note retried "$case_name" "Wine's desktop process was not ready after ${took} s (try $try of $desktop_tries)"
    done
    return 1
}

# Listing a test program's cases (ctest does it before a run) needs no display; its server is
# stopped again after it, so that no background process of it (Wine's desktop among them)
# outlives it without a display, or holds ctest's output pipe open.
listing=0
case_name=$(basename "$1")
for arg in "$@"; do
    case $arg in
        --gtest_list_tests) listing=1 ;;
        --gtest_filter=*) case_name=${arg#--gtest_filter=} ;;
    esac
done
(
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        rm -rf "$WINEPREFIX"
        wine_prefix_create "$WINEPREFIX"
    fi
    # The prefix's server first and alone: two programs that start it at once race for it.
    wineserver -p60 </dev/null >/dev/null 2>&1 9>&- || true
    [ $listing = 1 ] && exit 0
    if [ ! -s "$state/display" ] || ! kill -0 "$(cat "$state/xvfb.pid" 2>/dev/null)" 2>/dev/null; then
        xvfb_start "$state" 9>&- || exit 1
    fi
    DISPLAY=$(xvfb_display "$state") desktop_hold
) 9>"$state/lock" || { echo "wine-run.sh: no display or no desktop for $case_name" >&2; exit 1; }

if [ $listing = 1 ]; then
    "${WINE[@]}" "$@" </dev/null >"$state/listing.out" 2>"$state/listing.err"
    code=$?
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
    cat "$state/listing.out"
    cat "$state/listing.err" >&2
    exit $code
fi
DISPLAY=$(xvfb_display "$state")
export DISPLAY
exec "${WINE[@]}" "$@"
