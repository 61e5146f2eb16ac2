# Sourced by the scripts that run Windows programs: a private Wine prefix and a private Xvfb
# display, both created on demand and removed by PID, never by name.

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# wine_use ARCH: win32 or win64. Sets WINEARCH and WINE, the loader to run programs with.
# /usr/bin/wine always takes the 32-bit loader when it is installed, which fails with
# "Exec format error" on a host that cannot execute 32-bit programs; 64-bit programs go
# straight to the 64-bit loader.
wine_use() {
    export WINEARCH=$1
    if [ "$1" = win64 ]; then
        export WINELOADER=/usr/lib/wine/wine64
        WINE=$WINELOADER
    else
        unset WINELOADER
        WINE=wine
    fi
}
wine_use "${WINEARCH:-win32}"

# host_runs_32bit: whether Wine's 32-bit loader actually runs here (not a guess from the kernel).
host_runs_32bit() {
    [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

# wine_prefix_create DIR: boots a fresh prefix of WINEARCH in DIR (5 to 11 s).
wine_prefix_create() {
    local dir=$1
    mkdir -p "$(dirname "$dir")"
    WINEPREFIX=$dir "$WINE" wineboot -i </dev/null >/dev/null 2>&1
    # A crashing program must not open a dialog that hangs the run until its time-out.
    WINEPREFIX=$dir "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    WINEPREFIX=$dir wineserver -w
}

# wine_prefix_copy FROM TO: a booted prefix copied is ready in about 2 s.
wine_prefix_copy() {
    mkdir -p "$(dirname "$2")"
    cp -a "$1" "$2"
    rm -f "$2/wineserver"
}

# wine_prefix_destroy DIR: stops that prefix's server and removes it with its socket folder.
wine_prefix_destroy() {
    local dir=$1
    [ -d "$dir" ] || return 0
    local inode serverdir
    inode=$(stat -c '%d-%i' "$dir" 2>/dev/null | awk -F- '{printf "%x-%x", $1, $2}')
    WINEPREFIX=$dir wineserver -k >/dev/null 2>&1 || true
    WINEPREFIX=$dir timeout 20 wineserver -w >/dev/null 2>&1 || true
    rm -rf "$dir"
    # Debian's Wine keeps the server socket in /tmp/wine-XXXXXX/server-<device>-<inode>.
    for serverdir in /tmp/wine-*/"server-$inode" /tmp/.wine-"$(id -u)"/"server-$inode"; do
        [ -e "$serverdir" ] || continue
        rm -rf "$serverdir"
        # The /tmp/wine-XXXXXX folder was made for this prefix's server; gone once empty.
        case "$serverdir" in /tmp/wine-*) rmdir "$(dirname "$serverdir")" 2>/dev/null || true ;; esac
    done
    return 0
}

# xvfb_start STATEDIR: starts Xvfb on a free display; writes STATEDIR/display and STATEDIR/xvfb.pid.
xvfb_start() {
    local state=$1
    mkdir -p "$state"
    rm -f "$state/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$state/display" </dev/null >/dev/null 2>&1 &
    echo $! >"$state/xvfb.pid"
    local i
    for i in $(seq 1 100); do
        [ -s "$state/display" ] && break
        sleep 0.1
    done
    [ -s "$state/display" ] || { echo "Xvfb did not start" >&2; return 1; }
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
