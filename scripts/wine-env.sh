# Sourced by the scripts that run Windows programs: a private Wine prefix and a private Xvfb
# display, both created on demand and removed by PID, never by name.

source "$(dirname "${BASH_SOURCE[0]}")/test-note.sh"

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# wine_use ARCH: win32 or win64. Sets WINEARCH and WINE, the command to run programs with.
# /usr/bin/wine always takes the 32-bit loader when it is installed, which fails with
# "Exec format error" on a host that cannot execute 32-bit programs; 64-bit programs go
# straight to the 64-bit loader.
# Linux puts the 64-bit loader's heap anywhere in the gigabyte above the loader (0x7d000000),
# now and then over 0x7ffe0000, where every Windows process maps its shared user data; such a
# start ends at once with 1 ("failed to map the shared user data"), about one in 8,000.
# Debian's Wine has no preloader to hold that address, so every Wine program runs with the
# layout fixed: the heap right after the loader. Wine's own programs inherit it. A container
# that refuses the personality call runs Wine as it is.
fixed_layout=(setarch -R)
"${fixed_layout[@]}" true 2>/dev/null || fixed_layout=()
wine_use() {
    export WINEARCH=$1
    if [ "$1" = win64 ]; then
        export WINELOADER=/usr/lib/wine/wine64
        WINE=("${fixed_layout[@]}" "$WINELOADER")
    else
        unset WINELOADER
        WINE=("${fixed_layout[@]}" wine)
    fi
}
wine_use "${WINEARCH:-win32}"

# host_32bit_gap: why the 32-bit program cannot run under Wine here, or nothing when it can;
# found by running Wine's 32-bit loader, not by guessing from the kernel.
host_32bit_gap() {
    local loader=${PRAVELO_WINE32_LOADER:-/usr/lib/wine/wine}
    if [ ! -e "$loader" ]; then
        echo "Wine's 32-bit half (wine32:i386) is not installed"
    elif ! "$loader" --version >/dev/null 2>&1; then
        echo "this host cannot execute 32-bit programs (Wine's 32-bit loader fails here)"
    fi
}
host_runs_32bit() { [ -z "$(host_32bit_gap)" ]; }

# wine_prefix_create DIR: boots a fresh prefix of WINEARCH in DIR (5 to 11 s).
wine_prefix_create() {
    local dir=$1
    mkdir -p "$(dirname "$dir")"
    WINEPREFIX=$dir "${WINE[@]}" wineboot -i </dev/null >/dev/null 2>&1
    # A crashing program must not open a dialog that hangs the run until its time-out.
    WINEPREFIX=$dir "${WINE[@]}" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    WINEPREFIX=$dir wineserver -w
}

# wine_prefix_copy FROM TO: a booted prefix copied is ready in about 2 s.
wine_prefix_copy() {
    mkdir -p "$(dirname "$2")"
    cp -a "$1" "$2"
    rm -f "$2/wineserver"
}

# wine_server_folder DIR: the socket folder of DIR's server, <tmp>/<name in DIR/wineserver>/
# server-<device>-<inode> (Debian's layout; upstream's /tmp/.wine-<uid> when DIR has no such
# file). Named only while DIR exists: a folder made later may get DIR's inode again.
wine_server_folder() {
    local dir=$1 name id
    id=$(stat -c '%d %i' "$dir" 2>/dev/null | awk '{printf "%x-%x", $1, $2}') || return 0
    [ -n "$id" ] || return 0
    if name=$(cat "$dir/wineserver" 2>/dev/null) && [[ $name =~ ^wine-[A-Za-z0-9]+$ ]]; then
        echo "${TMPDIR:-/tmp}/$name/server-$id"
    else
        echo "/tmp/.wine-$(id -u)/server-$id"
    fi
}

# wine_prefix_destroy DIR: stops that prefix's server, removes its socket folder, then the prefix
# (in this order, so that the folder removed is this prefix's and never that of a prefix made
# meanwhile with the same inode).
wine_prefix_destroy() {
    local dir=$1 folder
    [ -d "$dir" ] || return 0
    folder=$(wine_server_folder "$dir")
    WINEPREFIX=$dir wineserver -k >/dev/null 2>&1 || true
    WINEPREFIX=$dir timeout 20 wineserver -w >/dev/null 2>&1 || true
    if [ -n "$folder" ]; then
        rm -rf "$folder"
        # A wine-XXXXXX folder was made for this prefix alone; /tmp/.wine-<uid> is shared.
        case "$folder" in */wine-*/server-*) rmdir "$(dirname "$folder")" 2>/dev/null || true ;; esac
    fi
    rm -rf "$dir"
    return 0
}

# wine_sweep_socket_folders TOP...: removes the wine-*/server-* socket folders under each TOP
# whose server is gone, and wine-* folders left empty. A server works in its socket folder, and
# a program starting one works in it while it connects: a folder some process works in is kept,
# and so is one less than a minute old (a server starting this moment may not be in it yet).
wine_sweep_socket_folders() {
    local live top parent folder old
    live=$(for folder in /proc/[0-9]*/cwd; do readlink "$folder" 2>/dev/null; done | sort -u)
    for top in "$@"; do
        for parent in "$top"/wine-*; do
            [ -d "$parent" ] || continue
            old=$(find "$parent" -maxdepth 0 -mmin +1)
            for folder in "$parent"/server-*; do
                [ -d "$folder" ] || continue
                grep -qxF "$folder" <<<"$live" && continue
                [ -n "$(find "$folder" -maxdepth 0 -mmin +1)" ] && rm -rf "$folder"
            done
            [ -z "$old" ] || rmdir "$parent" 2>/dev/null
        done
    done
    return 0
}

# wine_process_of PID DIR: whether PID is a running program of the prefix DIR.
wine_process_of() {
    [ -n "$1" ] && tr '\0' '\n' 2>/dev/null <"/proc/$1/environ" | grep -qxF "WINEPREFIX=$2"
}


# xvfb_start STATEDIR: starts Xvfb on a free display; writes STATEDIR/display and STATEDIR/xvfb.pid.
xvfb_start() {
    local state=$1
    mkdir -p "$state"
    rm -f "$state/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$state/display" </dev/null >/dev/null 2>&1 &
    echo $! >"$state/xvfb.pid"
    local i pid
    pid=$(cat "$state/xvfb.pid")
    # Seconds when the machine is busy; a display that never came is an error, never ":".
    for i in $(seq 1 300); do
        [ -s "$state/display" ] && return 0
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    echo "Xvfb did not report a display within 30 s" >&2
    xvfb_stop "$state"
    return 1
}

xvfb_display() { echo ":$(tr -d '[:space:]' <"$1/display")"; }

xvfb_stop() {
    local state=$1
    [ -f "$state/xvfb.pid" ] || return 0
    local pid
    pid=$(cat "$state/xvfb.pid")
    kill "$pid" 2>/dev/null || true
    rm -f "$state/xvfb.pid" "$state/display"
}
