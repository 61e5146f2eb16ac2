#!/usr/bin/env bash
# Start-up time: from `wine program.exe` to its first visible window, under Wine and Xvfb,
# for each program N times in turn in one prefix, with median and spread.
#   bench/startup_time.sh [--runs N] [program.exe ...]
# Without programs: the minimal one-window program and build/windows/pravelo.exe (built
# first). Each program runs once unmeasured first; every run is ended by its process id.
# A minimal program runs throughout, so that Wine's desktop process stays up as Explorer
# does on Windows and no run pays for starting it again.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/wine-env.sh"

runs=15
programs=()
while [ $# -gt 0 ]; do
    case $1 in
        --runs) runs=$2; shift 2 ;;
        -h|--help) sed -n '2,6p' "$0"; exit 0 ;;
        *) programs+=("$(realpath "$1")"); shift ;;
    esac
done
if [ ${#programs[@]} -eq 0 ]; then
    (cd "$root" && cmake --preset windows >/dev/null &&
        cmake --build --preset windows --target minimal_window_bench_win32 pravelo >/dev/null)
    programs=("$root/build/windows/bench/minimal_window_bench_win32.exe" "$root/build/windows/pravelo.exe")
fi
for program in "${programs[@]}"; do
    [ -f "$program" ] || { echo "no such program: $program" >&2; exit 2; }
done

# A run that never shows a window is given up after this long.
window_timeout_s=30
state=$(mktemp -d /tmp/pravelo-startup.XXXXXX)
server_pid=
keeper_pid=
program_pid=

stop_program() {
    [ -n "$program_pid" ] || return 0
    kill "$program_pid" 2>/dev/null || true
    timeout 10 tail --pid="$program_pid" -f /dev/null 2>/dev/null || kill -9 "$program_pid" 2>/dev/null || true
    wait "$program_pid" 2>/dev/null || true
    program_pid=
}

cleanup() {
    stop_program
    [ -n "$keeper_pid" ] && { kill "$keeper_pid" 2>/dev/null || true; wait "$keeper_pid" 2>/dev/null || true; }
    wine_prefix_destroy "$state/prefix"
    [ -n "$server_pid" ] && { kill "$server_pid" 2>/dev/null || true; wait "$server_pid" 2>/dev/null || true; }
    xvfb_stop "$state"
    rm -rf "$state"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

echo "booting a Wine prefix..." >&2
wine_prefix_create "$state/prefix"
xvfb_start "$state"
export WINEPREFIX=$state/prefix
DISPLAY=$(xvfb_display "$state")
export DISPLAY
# The server stays up across runs, so that no run pays for starting it.
wineserver -f -p </dev/null >/dev/null 2>&1 &
server_pid=$!
minimal=$root/build/windows/bench/minimal_window_bench_win32.exe
[ -f "$minimal" ] || (cd "$root" && cmake --build --preset windows --target minimal_window_bench_win32 >/dev/null)
wine "$minimal" </dev/null >/dev/null 2>&1 &
keeper_pid=$!

now_ns() { date +%s%N; }

# Milliseconds from the start of the program to its first visible X window. Wine gives each
# window the process id of the `wine` command that started it.
time_one() {
    local program=$1 start
    start=$(now_ns)
    (cd "$(dirname "$program")" && exec wine "$program") </dev/null >/dev/null 2>&1 &
    program_pid=$!
    until xdotool search --onlyvisible --pid "$program_pid" >/dev/null 2>&1; do
        if ! kill -0 "$program_pid" 2>/dev/null; then
            echo "$(basename "$program") ended without a window" >&2
            return 1
        fi
        if [ $(( ($(now_ns) - start) / 1000000000 )) -ge $window_timeout_s ]; then
            echo "$(basename "$program") showed no window within ${window_timeout_s} s" >&2
            return 1
        fi
        sleep 0.005
    done
    echo $(( ($(now_ns) - start) / 1000000 ))
    stop_program
}

declare -A times
for program in "${programs[@]}"; do
    time_one "$program" >/dev/null
done
echo "timing ${#programs[@]} programs ${runs} times each, in turn..." >&2
for run in $(seq 1 "$runs"); do
    for i in "${!programs[@]}"; do
        times[$i]+="$(time_one "${programs[$i]}") "
    done
done

printf '\nStart-up to first visible window, %s runs each, one prefix (ms)\n' "$runs"
printf '%-36s %8s %8s %8s %8s %8s\n' program median min max p25 p75
for i in "${!programs[@]}"; do
    # shellcheck disable=SC2086
    printf '%s\n' ${times[$i]} | sort -n | awk -v name="$(basename "${programs[$i]}")" '
        { v[NR] = $1 }
        function at(q) { return v[int((NR - 1) * q + 1.5)] }
        END { printf "%-36s %8d %8d %8d %8d %8d\n", name, at(0.5), v[1], v[NR], at(0.25), at(0.75) }'
done
