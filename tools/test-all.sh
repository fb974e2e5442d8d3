#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests (under the address and undefined
# behaviour sanitizers), short fuzz runs, and the system tests of the Windows programs under Wine.
# On a fresh Debian 12 machine it first installs the Debian packages that are missing.
#
#   tools/test-all.sh [build folder]      (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"

packages=(cmake make g++ libgtest-dev clang libclang-rt-14-dev clang-format
          g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-x86-64-dev
          wine wine64 xvfb xdotool imagemagick procps util-linux)

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    "${sudo_cmd[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends \
        "${missing[@]}"
fi

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$(nproc)"
cd "$build"
ctest --output-on-failure -j "$(nproc)"
