#!/usr/bin/env bash
# Checks that a built vnhook library exports exactly the names of its .def template, undecorated
# (the 32-bit build must not leak stdcall decorations such as "SetupHookDLL@4").
#   tools/check-exports.sh library.dll hook/takeover/vnhook.def.in
set -euo pipefail
dll="$1"
def="$2"
expected="$(sed -n '/^EXPORTS/,$p' "$def" | tail -n +2 | sed 's/@[0-9]*//; s/[[:space:]]//g' | grep -v '^$' | sort)"
actual="$(x86_64-w64-mingw32-objdump -p "$dll" |
    sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | tail -n +2 |
    sed -E 's/^[[:space:]]*\[[[:space:]]*[0-9]+\][[:space:]]+//' | grep -v '^$' | sort)"
if [ "$expected" != "$actual" ]; then
    echo "exports of $dll differ from $def:"
    diff <(echo "$expected") <(echo "$actual") || true
    exit 1
fi
echo "$dll: $(echo "$actual" | wc -l) exports as expected"
