#!/usr/bin/env bash
# Idle cost: runs each program at the same time for a while under Wine and Xvfb, each in
# its own prefix (so each has its own wineserver) and on its own display, and prints the
# CPU time and resident memory they used, side by side.
#   bench/idle_cost.sh [--seconds N] [--warmup N] [program.exe ...]
# Without programs: the null and the reference idle programs and build/windows/pravelo.exe
# (built first). CPU time counts from the end of the warm-up; a program that has ended
# by then is reported as such.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/wine-env.sh"

seconds=60
warmup=10
programs=()
while [ $# -gt 0 ]; do
    case $1 in
        --seconds) seconds=$2; shift 2 ;;
        --warmup) warmup=$2; shift 2 ;;
        -h|--help) sed -n '2,8p' "$0"; exit 0 ;;
        *) programs+=("$(realpath "$1")"); shift ;;
    esac
done
if [ ${#programs[@]} -eq 0 ]; then
    (cd "$root" && cmake --preset windows >/dev/null && cmake --build --preset windows --target benchmarks pravelo >/dev/null)
    programs=("$root/build/windows/bench/idle_null_bench_win32.exe"
              "$root/build/windows/bench/idle_reference_bench_win32.exe"
              "$root/build/windows/pravelo.exe")
fi
for program in "${programs[@]}"; do
    [ -f "$program" ] || { echo "no such program: $program" >&2; exit 2; }
done

ticks_per_second=$(getconf CLK_TCK)
state=$(mktemp -d /tmp/pravelo-idle.XXXXXX)
declare -a exe_pids server_pids

cleanup() {
    local i pid
    for i in "${!programs[@]}"; do
        pid=${exe_pids[$i]:-}
        if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
            kill "$pid" 2>/dev/null || true
            timeout 5 tail --pid="$pid" -f /dev/null 2>/dev/null || kill -9 "$pid" 2>/dev/null || true
        fi
        wine_prefix_destroy "$state/$i/prefix"
        pid=${server_pids[$i]:-}
        [ -n "$pid" ] && { kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; }
        xvfb_stop "$state/$i"
    done
    wine_prefix_destroy "$state/template"
    rm -rf "$state"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# utime + stime of a process in clock ticks; empty when it has ended.
cpu_ticks() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 0
    # The command name is in parentheses and may hold blanks: count fields after it.
    awk '{print $12 + $13}' <<<"${stat##*) }"
}

rss_mib() {
    awk '/^VmRSS:/ {printf "%.1f", $2 / 1024}' "/proc/$1/status" 2>/dev/null || true
}

# The other processes of a prefix (services, the desktop with its tray, devices).
prefix_pids() {
    local prefix=$1 skip1=$2 skip2=$3 dir pid
    for dir in /proc/[0-9]*; do
        pid=${dir#/proc/}
        [ "$pid" = "$skip1" ] || [ "$pid" = "$skip2" ] && continue
        tr '\0' '\n' 2>/dev/null <"$dir/environ" | grep -qx "WINEPREFIX=$prefix" && echo "$pid"
    done
    return 0
}

# The server's socket appears once it accepts clients.
wait_for_server() {
    local inode i
    inode=$(stat -c '%d-%i' "$1" | awk -F- '{printf "%x-%x", $1, $2}')
    for i in $(seq 1 100); do
        compgen -G "/tmp/wine-*/server-$inode/socket" >/dev/null && return 0
        compgen -G "/tmp/.wine-$(id -u)/server-$inode/socket" >/dev/null && return 0
        sleep 0.1
    done
    echo "the wineserver of $1 did not start" >&2
    return 1
}

echo "booting a Wine prefix..." >&2
wine_prefix_create "$state/template"
for i in "${!programs[@]}"; do
    dir=$state/$i
    wine_prefix_copy "$state/template" "$dir/prefix"
    xvfb_start "$dir"
    WINEPREFIX=$dir/prefix wineserver -f -p </dev/null >/dev/null 2>&1 &
    server_pids[$i]=$!
    wait_for_server "$dir/prefix"
    (cd "$(dirname "${programs[$i]}")" &&
        WINEPREFIX=$dir/prefix DISPLAY=$(xvfb_display "$dir") exec wine "${programs[$i]}") \
        </dev/null >"$dir/stdout" 2>"$dir/stderr" &
    exe_pids[$i]=$!
done

echo "warming up for ${warmup} s, then measuring for ${seconds} s..." >&2
sleep "$warmup"
declare -A start
for i in "${!programs[@]}"; do
    start[$i.exe]=$(cpu_ticks "${exe_pids[$i]}")
    start[$i.server]=$(cpu_ticks "${server_pids[$i]}")
    for pid in $(prefix_pids "$state/$i/prefix" "${exe_pids[$i]}" "${server_pids[$i]}"); do
        start[$i.$pid]=$(cpu_ticks "$pid")
    done
done
sleep "$seconds"

seconds_of() { awk -v t="$1" -v hz="$ticks_per_second" 'BEGIN {printf "%.2f", t / hz}'; }
printf '\nIdle cost over %s s after %s s of warm-up; one prefix, wineserver and display per program.\n' \
    "$seconds" "$warmup"
printf '%-32s %9s %9s %13s %9s %12s %9s %9s  %s\n' program "exe s" "server s" "exe+server s" "of 1 core" \
    "rest of pfx" "exe MiB" "srv MiB" "last report"
for i in "${!programs[@]}"; do
    name=$(basename "${programs[$i]}")
    exe_end=$(cpu_ticks "${exe_pids[$i]}")
    server_end=$(cpu_ticks "${server_pids[$i]}")
    rest=0
    for pid in $(prefix_pids "$state/$i/prefix" "${exe_pids[$i]}" "${server_pids[$i]}"); do
        now=$(cpu_ticks "$pid")
        [ -n "$now" ] && rest=$((rest + now - ${start[$i.$pid]:-0}))
    done
    report=$(tail -n 1 "$state/$i/stdout" 2>/dev/null | tr -d '\r')
    if [ -z "${start[$i.exe]}" ] || [ -z "$exe_end" ]; then
        printf '%-32s %s\n' "$name" "ended before the measurement was over (nothing to measure)"
        continue
    fi
    exe=$((exe_end - start[$i.exe]))
    server=$((server_end - start[$i.server]))
    share=$(awk -v t=$((exe + server)) -v hz="$ticks_per_second" -v s="$seconds" \
        'BEGIN {printf "%.2f%%", 100 * t / hz / s}')
    printf '%-32s %9s %9s %13s %9s %12s %9s %9s  %s\n' "$name" "$(seconds_of $exe)" "$(seconds_of $server)" \
        "$(seconds_of $((exe + server)))" "$share" "$(seconds_of $rest)" "$(rss_mib "${exe_pids[$i]}")" \
        "$(rss_mib "${server_pids[$i]}")" "$report"
done
