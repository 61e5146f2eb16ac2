#!/usr/bin/env bash
# Idle cost: runs the null and reference idle programs and pravelo.exe in the states a user
# leaves it in (main window shown, minimized, in the tray, simple mode), all at the same time
# for a while under Wine and Xvfb, each in its own prefix (so each has its own wineserver)
# and on its own display, and prints one table: CPU time, resident memory, GDI and USER
# objects at the end, and the size of the program.
#   bench/idle_cost.sh [--seconds N] [--rounds N] [--warmup N] [--32] [pravelo.exe]
# Without a program: the build's 64-bit pravelo.exe (32-bit with --32), built first with the
# idle programs of the same width. CPU time counts from the end of the warm-up, in rounds of
# N seconds; the table shows each run's median round. A program that ends before the last
# round is reported as such.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/wine-env.sh"

seconds=60
warmup=10
rounds=1
preset=windows-x64
program=
while [ $# -gt 0 ]; do
    case $1 in
        --seconds) seconds=$2; shift 2 ;;
        --warmup) warmup=$2; shift 2 ;;
        --rounds) rounds=$2; shift 2 ;;
        --32) preset=windows; shift ;;
        -h|--help) sed -n '2,11p' "$0"; exit 0 ;;
        *) program=$(realpath "$1"); shift ;;
    esac
done
build=$root/build/$preset
(cd "$root" && cmake --preset "$preset" >/dev/null &&
    cmake --build --preset "$preset" --target benchmarks pravelo pravelo_driver >/dev/null)
[ -n "$program" ] || program=$build/pravelo.exe
[ -f "$program" ] || { echo "no such program: $program" >&2; exit 2; }
# The width of the program decides the prefix and the loader.
if file -b "$program" | grep -q 'x86-64'; then wine_use win64; else wine_use win32; fi
driver=$build/tests/e2e/pravelo_driver.exe
null_program=$build/bench/idle_null_bench_win32.exe
reference_program=$build/bench/idle_reference_bench_win32.exe

# One run each: label, program, state.
labels=(null reference "pravelo shown" "pravelo minimized" "pravelo in tray" "pravelo simple mode")
programs=("$null_program" "$reference_program" "$program" "$program" "$program" "$program")
states=(plain plain shown minimized tray simple)

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

# Time on a CPU of all the threads of a process in ns (the scheduler's own count, where the
# ticks above are truncated to whole ticks); empty when it has ended.
cpu_ns() {
    local task sum=0 ns
    [ -d "/proc/$1/task" ] || return 0
    for task in /proc/"$1"/task/*/schedstat; do
        read -r ns _ <"$task" 2>/dev/null && sum=$((sum + ns))
    done
    echo "$sum"
}

rss_mib() {
    awk '/^VmRSS:/ {printf "%.1f", $2 / 1024}' "/proc/$1/status" 2>/dev/null || true
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
    args=()
    case ${states[$i]} in
        minimized) WINEPREFIX=$dir/prefix "$WINE" reg add 'HKCU\Software\zEVID\PraveloGeneral' \
                       /v TrayAtStart /t REG_SZ /d 1 /f >/dev/null 2>&1 ;;
        tray) args=(/tray) ;;
    esac
    (cd "$(dirname "${programs[$i]}")" &&
        WINEPREFIX=$dir/prefix DISPLAY=$(xvfb_display "$dir") exec "$WINE" "${programs[$i]}" "${args[@]}") \
        </dev/null >"$dir/stdout" 2>"$dir/stderr" &
    exe_pids[$i]=$!
done
# Simple mode is where the main window's button leads.
for i in "${!programs[@]}"; do
    [ "${states[$i]}" = simple ] || continue
    dir=$state/$i
    export WINEPREFIX=$dir/prefix DISPLAY=$(xvfb_display "$dir")
    window=$("$WINE" "$driver" wait --class Pravelo.Form1 --visible --timeout 30000 2>/dev/null </dev/null | cut -f1)
    [ -n "$window" ] && "$WINE" "$driver" click --window "$window" --caption "Simple Mode" >/dev/null 2>&1 </dev/null
    unset WINEPREFIX DISPLAY
done

echo "warming up for ${warmup} s, then measuring ${rounds} x ${seconds} s..." >&2
sleep "$warmup"
# Exe plus server ticks of run i now; empty once the program has ended.
total_ticks() {
    local exe server
    exe=$(cpu_ticks "${exe_pids[$1]}")
    server=$(cpu_ticks "${server_pids[$1]}")
    if [ -n "$exe" ] && [ -n "$server" ]; then echo $((exe + server)); fi
}
# The same in ns.
total_ns() {
    local exe server
    exe=$(cpu_ns "${exe_pids[$1]}")
    server=$(cpu_ns "${server_pids[$1]}")
    if [ -n "$exe" ] && [ -n "$server" ]; then echo $((exe + server)); fi
}
# The runs share the machine, so a round's load falls on all of them alike; the median of
# the rounds leaves out a round that a burst elsewhere on the host spoiled.
declare -A round_ticks
declare -A round_ms
declare -A before
declare -A before_ns
for _ in $(seq 1 "$rounds"); do
    for i in "${!programs[@]}"; do
        before[$i]=$(total_ticks "$i")
        before_ns[$i]=$(total_ns "$i")
    done
    sleep "$seconds"
    for i in "${!programs[@]}"; do
        after=$(total_ticks "$i")
        after_ns=$(total_ns "$i")
        if [ -n "${before[$i]}" ] && [ -n "$after" ] && [ -n "${before_ns[$i]}" ] && [ -n "$after_ns" ]; then
            round_ticks[$i]+="$((after - before[$i])) "
            round_ms[$i]+="$(((after_ns - before_ns[$i]) / 1000000)) "
        fi
    done
done
median() { tr ' ' '\n' <<<"$1" | { grep . || true; } | sort -n | awk '{v[NR] = $1} END {if (NR) print v[int((NR + 1) / 2)]}'; }

# GDI and USER objects of a program, as its own prefix's Windows reports them.
gui_objects() {
    WINEPREFIX=$state/$1/prefix "$WINE" "$driver" gui --image "$(basename "${programs[$1]}")" 2>/dev/null </dev/null |
        tr -d '\r' | tr '\t' / || true
}
printf '\nIdle cost: median of %s rounds of %s s after %s s of warm-up; one prefix, wineserver and display per run.\n' \
    "$rounds" "$seconds" "$warmup"
printf '%-22s %11s %7s %11s %8s %9s %9s %9s %9s %9s\n' run "ticks exe+s" "x null" "CPU ms" "x null*" "of 1 core" \
    "exe MiB" "srv MiB" "GDI/USER" "exe KiB"
ratio() { awk -v t="$1" -v n="${2:-0}" 'BEGIN {if (n > 0) printf "%.2f", t / n; else print "-"}'; }
# The median of the rounds' own ratios: a round's load falls on all runs alike, so each
# round is compared with the null program's same round.
round_ratio() {
    awk -v t="$1" -v n="$2" 'BEGIN {
        k = split(t, a, " "); split(n, b, " "); m = 0
        for (j = 1; j <= k; j++) if (b[j] > 0) r[++m] = a[j] / b[j]
        if (m == 0) { print "-"; exit }
        for (x = 1; x <= m; x++) for (y = x + 1; y <= m; y++) if (r[y] < r[x]) { v = r[x]; r[x] = r[y]; r[y] = v }
        printf "%.2f", r[int((m + 1) / 2)] }'
}
null_ticks=$(median "${round_ticks[0]:-}")
for i in "${!programs[@]}"; do
    ticks=$(median "${round_ticks[$i]:-}")
    ms=$(median "${round_ms[$i]:-}")
    if [ -z "$ticks" ] || [ "$(wc -w <<<"${round_ticks[$i]}")" -ne "$rounds" ]; then
        printf '%-22s %s\n' "${labels[$i]}" "ended before the measurement was over (nothing to measure)"
        continue
    fi
    share=$(awk -v ms="$ms" -v s="$seconds" 'BEGIN {printf "%.2f%%", ms / 10 / s}')
    printf '%-22s %11s %7s %11s %8s %9s %9s %9s %9s %9s\n' "${labels[$i]}" "$ticks" "$(ratio "$ticks" "$null_ticks")" \
        "$ms" "$(round_ratio "${round_ms[$i]}" "${round_ms[0]:-}")" "$share" "$(rss_mib "${exe_pids[$i]}")" "$(rss_mib "${server_pids[$i]}")" \
        "$(gui_objects "$i")" "$(($(stat -c %s "${programs[$i]}") / 1024))"
done
echo "ticks and CPU ms of each round:"
for i in "${!programs[@]}"; do printf '  %-20s %-16s %s\n' "${labels[$i]}" "${round_ticks[$i]:-}" "${round_ms[$i]:-}"; done
echo "(clock ticks of $ticks_per_second per second, each count truncated to a whole tick; CPU ms from the"
echo " scheduler's per-thread time; x null* is the median of each round's ratio; GDI/USER from GetGuiResources, which Wine leaves at 0)"
