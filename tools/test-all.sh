#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests (under the address and undefined
# behaviour sanitizers), short fuzz runs, and the system tests of the Windows programs under Wine.
# On a fresh Debian 12 machine it first installs the Debian packages that are missing.
#
#   tools/test-all.sh [build folder]      (default: build)
set -euo pipefail
tools="$(cd "$(dirname "$0")" && pwd)"
cd "$tools/.."
build="${1:-build}"

packages=(cmake make g++ libgtest-dev clang libclang-rt-14-dev clang-format
          g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-x86-64-dev
          wine wine64 xvfb xdotool imagemagick procps util-linux nsis)
# Where the kernel runs 32-bit programs, Wine's 32-bit part comes too, so that the tests of 32-bit
# applications run for real; elsewhere they are skipped and say why.
if "$tools/runs-32bit.sh"; then
    "$tools/add-i386.sh"
    packages+=(wine32:i386)
fi
"$tools/ensure-packages.sh" "${packages[@]}"

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$(nproc)"
cd "$build"
ctest --output-on-failure -j "$(nproc)"
