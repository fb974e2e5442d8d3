#!/usr/bin/env bash
# Tells whether this machine's kernel runs 32-bit x86 programs: exits 0 when it does, 1 when it
# does not, and says which. Machines of one kind differ in this, and without it Wine's 32-bit
# loader cannot run, so the 32-bit Windows programs and their tests depend on it. The check runs
# the smallest static i386 program (it only calls exit(0)), which needs no 32-bit libraries.
set -u
probe="$(mktemp)"
trap 'rm -f "$probe"' EXIT
# ELF header, one loadable segment at 0x08048000, and "mov eax, 1; xor ebx, ebx; int 0x80".
printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' >"$probe"
printf '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' >>"$probe"
printf '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x28\x00\x00\x00\x00\x00' >>"$probe"
printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08' >>"$probe"
printf '\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' >>"$probe"
printf '\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >>"$probe"
chmod +x "$probe"
if "$probe" 2>/dev/null; then
    echo "this machine runs 32-bit programs"
    exit 0
fi
echo "this machine cannot run 32-bit programs"
exit 1
