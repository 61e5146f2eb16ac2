#!/usr/bin/env bash
# Runs the test command N times, each in a fresh clone and from a cold state, and prints one
# line per run: its result, its time, and the tests that failed, were retried or skipped.
#   scripts/ci-soak.sh N [--busy] [--repo URL] [--branch NAME]
#     --repo, --branch  what to clone; this checkout's repository and its main branch by default
#     --busy            one CPU-bound process per core beside each run, ended by its PID
# Cold: the clone has no build folders or Wine prefixes, Wine's and fontconfig's caches under
# the home folder are removed, and so are Wine's socket folders under /tmp whose server is gone.
# No process it did not start is touched. Each run's output is kept in the log folder it names.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

usage() { sed -n '2,/^set -/p' "$0" | sed '$d; s/^# \{0,1\}//' >&2; exit 2; }
runs= busy=0 branch=main
repo=$(git -C "$root" rev-parse --path-format=absolute --git-common-dir)
while [ $# -gt 0 ]; do
    case $1 in
        --busy) busy=1; shift ;;
        --repo) repo=${2:?}; shift 2 ;;
        --branch) branch=${2:?}; shift 2 ;;
        -h|--help) usage ;;
        *) [[ $1 =~ ^[1-9][0-9]*$ ]] && [ -z "$runs" ] || usage; runs=$1; shift ;;
    esac
done
[ -n "$runs" ] || usage

logs=$(mktemp -d "${TMPDIR:-/tmp}/pravelo-soak-logs.XXXXXX")
clone=
loops=()
stop_loops() {
    [ ${#loops[@]} -gt 0 ] && kill "${loops[@]}" 2>/dev/null
    loops=()
}
trap 'stop_loops; [ -z "$clone" ] || rm -rf "$clone"' EXIT
trap 'exit 130' INT TERM

# cold_caches: what a first run on a machine does not find; Wine servers that still run (other
# runs on this machine among them) keep their socket folders.
cold_caches() {
    rm -rf "$HOME/.cache/wine" "$HOME/.cache/fontconfig"
    local tops
    mapfile -t tops < <(printf '%s\n' "${TMPDIR:-/tmp}" /tmp | sort -u)
    (source "$root/scripts/wine-env.sh" && wine_sweep_socket_folders "${tops[@]}")
}

# outcome LOG: the run's result and what it retried, skipped or failed, from the test
# command's summary and ctest's list of failed tests.
outcome() {
    local log=$1 result failed notes retried skipped
    result=$(awk '$1 == "total" {print $2}' "$log")
    failed=$(sed -n 's/^\s*[0-9]* - \(.*\) (\(Failed\|Timeout\|Not Run\|Exception\))$/\1/p' "$log" |
             sort -u | paste -sd, -)
    [ -n "$failed" ] || failed=$(awk '$2 == "FAILED" && $1 != "total" {print $1}' "$log" | paste -sd, -)
    notes=$(sed -n '/^=== skipped or retried/,$p' "$log" | tail -n +2)
    retried=$(awk '$2 == "retried"' <<<"$notes" | cut -c33- | paste -sd';' -)
    skipped=$(awk '$2 == "skipped" {sub(/:$/, "", $3); print $3}' <<<"$notes" | sort -u | paste -sd, -)
    echo "${result:-no summary}; failed: ${failed:-none}; retried: ${retried:-none}; skipped: ${skipped:-none}"
}

echo "soak: $runs run(s) of $repo $branch$([ $busy = 1 ] && echo ", one busy loop per core"); logs in $logs"
for run in $(seq 1 "$runs"); do
    clone=$(mktemp -d "${TMPDIR:-/tmp}/pravelo-soak.XXXXXX")
    if ! git clone -q --branch "$branch" "$repo" "$clone/src"; then
        echo "run $run/$runs: could not clone $repo $branch"
        exit 1
    fi
    commit=$(git -C "$clone/src" rev-parse --short HEAD)
    cold_caches
    if [ $busy = 1 ]; then
        for _ in $(seq 1 "$(nproc)"); do
            sh -c 'while :; do :; done' &
            loops+=($!)
        done
    fi
    begin=$SECONDS
    (cd "$clone/src" && scripts/test.sh) >"$logs/run-$run.log" 2>&1
    took=$((SECONDS - begin))
    stop_loops
    rm -rf "$clone"
    clone=
    echo "run $run/$runs ($commit$([ $busy = 1 ] && echo ", busy")): $(outcome "$logs/run-$run.log"), ${took}s"
done
