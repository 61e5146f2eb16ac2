#!/usr/bin/env bash
# Builds Pravelo and starts it: the 64-bit program, or the 32-bit one with --32; further
# arguments go to the program.
#   On Windows (Git Bash, MSYS): builds with the compiler at hand and starts pravelo.exe.
#   Elsewhere: under Wine in a prefix kept for this checkout (build/<preset>/run-prefix).
#   With $DISPLAY it runs until you end it; without one it runs on a private Xvfb, saves a
#   screenshot of the main window and ends the program again.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
preset=windows-x64
arch=win64
if [ "${1:-}" = --32 ]; then
    preset=windows
    arch=win32
    shift
fi
build=build/$preset

case "$(uname -s)" in
    MINGW* | MSYS* | CYGWIN*)
        cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel
        cmake --build "$build" -j2 --target pravelo pravelo_pic_beside_exe
        exec "$build/pravelo.exe" "$@"
        ;;
esac

scripts/install-deps.sh
source scripts/wine-env.sh
wine_use "$arch"
if [ "$arch" = win32 ] && ! host_runs_32bit; then
    echo "$(host_32bit_gap); run scripts/run.sh without --32 for the 64-bit program" >&2
    exit 1
fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j2 --target pravelo pravelo_pic_beside_exe pravelo_driver

prefix=$root/$build/run-prefix
if [ ! -f "$prefix/system.reg" ]; then
    echo "creating the Wine prefix $prefix (once)"
    rm -rf "$prefix"
    wine_prefix_create "$prefix"
fi
export WINEPREFIX=$prefix
program=$root/$build/pravelo.exe

if [ -n "${DISPLAY:-}" ]; then
    exec "${WINE[@]}" "$program" "$@"
fi

# No display: a private Xvfb, a screenshot, and everything stopped again.
state=$(mktemp -d)
artifacts=$root/$build/artifacts
driver=$root/$build/tests/e2e/pravelo_driver.exe
pid=
# Stops whatever still runs in this prefix (the program, Wine's own processes), nothing else.
finish() {
    WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
    WINEPREFIX=$prefix timeout 20 wineserver -w 2>/dev/null || true
    xvfb_stop "$state"
    rm -rf "$state"
}
trap finish EXIT
xvfb_start "$state"
DISPLAY=$(xvfb_display "$state")
export DISPLAY

# Output goes to files: Wine's background processes would hold a pipe open.
"${WINE[@]}" "$program" "$@" >"$state/program.log" 2>&1 &
pid=$!

window=
for _ in $(seq 1 30); do
    if "${WINE[@]}" "$driver" wait --class Pravelo.Form1 --title Pravelo --visible --timeout 2000 \
        >"$state/window" 2>/dev/null </dev/null; then
        window=$(cut -f1 "$state/window")
        break
    fi
    kill -0 "$pid" 2>/dev/null || break
done

if [ -z "$window" ]; then
    if kill -0 "$pid" 2>/dev/null; then
        echo "pravelo.exe shows no main window after 60 s" >&2
        exit 1
    fi
    code=0
    wait "$pid" || code=$?
    pid=
    echo "pravelo.exe ended with exit code $code before its main window appeared"
    exit "$code"
fi

mkdir -p "$artifacts"
sleep 1  # the first refresh
import -window root "$artifacts/run-main-window.png"
echo "screenshot of the main window saved to $artifacts/run-main-window.png"

# Ended as the user would end it: a close request to the main window.
"${WINE[@]}" "$driver" close --window "$window" >/dev/null 2>&1 </dev/null || true
for _ in $(seq 1 150); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
done
if kill -0 "$pid" 2>/dev/null; then
    echo "pravelo.exe did not end on its close request (gone to the tray?); stopping it" >&2
    exit 1
fi
code=0
wait "$pid" || code=$?
pid=
echo "pravelo.exe ended with exit code $code"
exit "$code"
