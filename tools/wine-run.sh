#!/usr/bin/env bash
# Runs one Windows program under Wine, in a prefix of the build tree and on an X server of its
# own, and returns the program's exit status. Everything it starts (the X server, the prefix's
# wineserver and the programs under it) it stops again; anything that was already running is
# left alone.
#
#   tools/wine-run.sh [--display :N] program.exe [arguments...]
#
# Environment: VN_WINEPREFIX (default: ./wineprefix), VN_DISPLAY (an X display to use instead of
# starting Xvfb), VN_TIMEOUT (seconds, default 150), VN_SCREEN (default 1024x768x24).
set -u

display="${VN_DISPLAY:-}"
if [ "${1:-}" = "--display" ]; then
    display="$2"
    shift 2
fi
if [ $# -lt 1 ]; then
    echo "usage: $0 [--display :N] program.exe [arguments...]" >&2
    exit 2
fi

prefix="$(realpath -m "${VN_WINEPREFIX:-$PWD/wineprefix}")"
export WINEPREFIX="$prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
timeout_s="${VN_TIMEOUT:-150}"

# The 32-bit loader is only usable where the kernel runs 32-bit programs; otherwise the 64-bit
# loader runs everything (64-bit programs only).
wine=wine
if ! /usr/lib/wine/wine --version >/dev/null 2>&1 && [ -x /usr/lib/wine/wine64 ]; then
    wine=/usr/lib/wine/wine64
    export WINELOADER=/usr/lib/wine/wine64
fi

xvfb_pid=""
server_started=0

# The prefix's wineserver runs with its server folder as working directory; that tells whether
# one was running before we came.
server_dir() {
    [ -d "$prefix" ] || return 1
    local dev ino
    read -r dev ino < <(stat -c '%d %i' "$prefix")
    printf '/tmp/.wine-%s/server-%x-%x' "$(id -u)" "$dev" "$ino"
}
server_running() {
    local dir pid
    dir="$(server_dir)" || return 1
    for pid in $(pgrep -x wineserver 2>/dev/null; pgrep -f '^/usr/lib/wine/wineserver' 2>/dev/null); do
        [ "$(readlink "/proc/$pid/cwd" 2>/dev/null)" = "$dir" ] && return 0
    done
    return 1
}

cleanup() {
    if [ "$server_started" = 1 ]; then
        wineserver -k >/dev/null 2>&1
        wineserver -w >/dev/null 2>&1
    fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
}
trap cleanup EXIT
trap 'exit 143' TERM INT

if [ -z "$display" ]; then
    # Xvfb picks a free display itself and tells us which.
    fifo="$(mktemp -u)"
    mkfifo "$fifo"
    Xvfb -displayfd 5 -screen 0 "${VN_SCREEN:-1024x768x24}" -nolisten tcp 5>"$fifo" >/dev/null 2>&1 &
    xvfb_pid=$!
    read -r -t 20 number <"$fifo"
    rm -f "$fifo"
    if [ -z "${number:-}" ]; then
        echo "wine-run: Xvfb did not start" >&2
        exit 1
    fi
    display=":$number"
fi
export DISPLAY="$display"

server_running || server_started=1

# First use: create the prefix (once, even when several runs start together).
mkdir -p "$(dirname "$prefix")"
(
    flock 9
    if [ ! -f "$prefix/system.reg" ]; then
        echo "wine-run: creating the Wine prefix $prefix" >&2
        "$wine" wineboot.exe -u >/dev/null 2>&1
        wineserver -w
    fi
) 9>"$prefix.lock"

timeout --kill-after=10 "$timeout_s" "$wine" "$@"
status=$?
[ "$status" = 124 ] && echo "wine-run: $1 did not finish within ${timeout_s} s" >&2
exit "$status"
