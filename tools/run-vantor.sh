#!/usr/bin/env bash
# The main job: builds the Windows programs (x86_64), prepares a Wine prefix in which Vantor is
# installed for the user, and starts a Wine virtual desktop of 1024 x 768 with vantor.exe in the
# tray and the sample application showing its Open dialog. It saves a screenshot of the desktop
# and says where. On a fresh Debian 12 machine it first installs the Debian packages that are
# missing.
#
#   tools/run-vantor.sh [build folder]      (default: build-run)
#
# With DISPLAY set the desktop opens on that display and stays until Enter is pressed (or, without
# a terminal, until the desktop window is closed); without it the desktop runs on an Xvfb server
# of its own and everything stops after the screenshot.
#
# Environment: VN_WINEPREFIX (default: <build>/wineprefix), VN_SCREENSHOT (default:
# <build>/vantor-desktop.png), VN_HEADLESS=1 (use Xvfb even when DISPLAY is set).
set -euo pipefail
tools="$(cd "$(dirname "$0")" && pwd)"
cd "$tools/.."
root="$PWD"
build="$(realpath -m "${1:-build-run}")"

packages=(cmake make g++-mingw-w64-x86-64 mingw-w64-x86-64-dev wine wine64 xvfb imagemagick
          procps)
"$tools/ensure-packages.sh" "${packages[@]}"

# Only the 64-bit Windows programs: that is what runs under Wine on every machine.
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)" --target vantor vnsample
bin="$build/bin"

export WINEPREFIX="$(realpath -m "${VN_WINEPREFIX:-$build/wineprefix}")"
export WINEDEBUG=-all
# No Mono or Gecko installer dialogs, no desktop menu entries on the host.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wine=wine
if ! /usr/lib/wine/wine --version >/dev/null 2>&1 && [ -x /usr/lib/wine/wine64 ]; then
    wine=/usr/lib/wine/wine64 # this kernel runs no 32-bit programs
    export WINELOADER=/usr/lib/wine/wine64
fi
shot="$(realpath -m "${VN_SCREENSHOT:-$build/vantor-desktop.png}")"

xvfb_pid=""
live=0
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
}
trap cleanup EXIT
trap 'exit 143' TERM INT

if [ -n "${DISPLAY:-}" ] && [ "${VN_HEADLESS:-0}" != 1 ]; then
    live=1
else
    fifo="$(mktemp -u)"
    mkfifo "$fifo"
    Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$fifo" >/dev/null 2>&1 &
    xvfb_pid=$!
    read -r -t 20 number <"$fifo" || true
    rm -f "$fifo"
    [ -n "${number:-}" ] || { echo "run-vantor: Xvfb did not start" >&2; exit 1; }
    export DISPLAY=":$number"
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix $WINEPREFIX"
    "$wine" wineboot.exe -u >/dev/null 2>&1
    wineserver -w
fi

cd "$bin"
# The installation step: "Program Path" is this folder, "Data Path" the user's
# %APPDATA%\Vantor in the prefix.
"$wine" vantor.exe /install
data_ini=("$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Vantor)
echo "Vantor is installed in $WINEPREFIX (data folder ${data_ini[0]})"

desktop="explorer.exe /desktop=Vantor,1024x768"
"$wine" $desktop vantor.exe &
# vantor.exe writes its settings file once it runs with the hook installed.
for _ in $(seq 1 60); do
    compgen -G "$WINEPREFIX/drive_c/users/*/AppData/Roaming/Vantor/vantor.ini" >/dev/null && break
    sleep 0.5
done
"$wine" $desktop vnsample.exe open 600000 >/dev/null 2>&1 &
sleep 8

if [ "$live" = 1 ] && import -window "Vantor - Wine desktop" "$shot" 2>/dev/null; then
    :
else
    import -window root "$shot"
fi
echo "Screenshot of the desktop: $shot"

if [ "$live" = 1 ]; then
    if [ -t 0 ]; then
        read -r -p "The desktop runs on $DISPLAY. Press Enter to stop Vantor and close it. "
    else
        echo "The desktop runs on $DISPLAY until its window is closed."
        while pgrep -f "desktop=Vantor," >/dev/null; do sleep 2; done
    fi
fi
