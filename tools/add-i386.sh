#!/usr/bin/env bash
# Lets apt install 32-bit x86 packages (such as wine32:i386) next to the machine's own. The
# package lists are read again by ensure-packages.sh, which updates them when a package is missing.
set -euo pipefail
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "Adding the i386 architecture for Wine's 32-bit part"
    "${sudo_cmd[@]}" dpkg --add-architecture i386
fi
