#!/usr/bin/env bash
# The main job: builds the Windows programs (x86_64, and i686 where the machine runs 32-bit
# programs), prepares a Wine prefix in which Vantor is installed for the user, and starts a Wine
# virtual desktop of 1024 x 768 with vantor.exe in the tray and the sample application showing its
# Open dialog (as a 64-bit and a 32-bit program where both run). It saves a screenshot of the desktop
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

# The 64-bit Windows programs run under Wine on every machine. Where the kernel runs 32-bit
# programs, Wine's 32-bit part, the 32-bit companion with its library and a 32-bit build of the
# sample application come too, and the sample shows its dialog in both bitnesses.
runs32=0
if "$tools/runs-32bit.sh" >/dev/null; then
    runs32=1
    "$tools/add-i386.sh"
    "$tools/ensure-packages.sh" g++-mingw-w64-i686 wine32:i386
fi
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)" --target vantor vnsample
bin="$build/bin"
if [ "$runs32" = 1 ]; then
    cmake -S "$root" -B "$build/win32" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
          -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build/win32" -j "$(nproc)" --target vantor32 vnsample
    cp "$build/win32/bin/vantor32.exe" "$build/win32/bin/vnhook32.dll" "$bin/"
    cp "$build/win32/bin/vnsample.exe" "$bin/vnsample32.exe"
else
    echo "This machine cannot run 32-bit programs: only 64-bit applications are shown."
fi

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
if [ "$runs32" = 1 ]; then
    sleep 3 # one after the other: the 32-bit dialog opens in front
    "$wine" $desktop vnsample32.exe open 600000 >/dev/null 2>&1 &
fi
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
