#!/usr/bin/env bash
# Makes 32-bit wine runnable on this machine and prints the environment that every wine
# process (and the wineserver) must get, as NAME=VALUE lines (none when none is needed).
#
#   e2e/wine32/setup.sh OUT_DIR
#
# Some kernels are booted without 32-bit support (ia32_emulation off): Debian's wine32
# loader then fails with "Exec format error". In that case 32-bit ELF programs are handed
# to qemu-i386-static through binfmt_misc (needs root), and two small preload libraries
# fix what wine needs from qemu: a start-up in a second instead of a minute (mmap_fix.c)
# and other processes' memory for the wineserver (server_fix.c).
# AMBREL_E2E_QEMU=1 takes the qemu path on any kernel; e2e/run.sh sets it up so that the
# registration stays inside the suite's own user namespace.
# Idempotent: safe to run before every test session.
set -euo pipefail

out=${1:?usage: setup.sh OUT_DIR}
here=$(cd "$(dirname "$0")" && pwd)
binfmt=/proc/sys/fs/binfmt_misc

forced=${AMBREL_E2E_QEMU:-0}
if [ "$forced" = 1 ] && [ "$(readlink /proc/self/ns/user)" = "$(readlink /proc/1/ns/user)" ]; then
    echo "setup.sh: AMBREL_E2E_QEMU=1 would register qemu for the whole machine; run e2e/run.sh" >&2
    exit 1
fi
if [ "$forced" != 1 ] && [ ! -e "$binfmt/qemu-i386" ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
    exit 0   # the kernel runs 32-bit programs itself
fi

if [ ! -e "$binfmt/qemu-i386" ]; then
    [ -x /usr/bin/qemu-i386-static ] || { echo "setup.sh: qemu-i386-static missing (qemu-user-static)" >&2; exit 1; }
    [ -e "$binfmt/register" ] || mount -t binfmt_misc binfmt_misc "$binfmt"
    # ELF, 32-bit, little-endian, executable or shared object, machine i386; F: the
    # interpreter is opened now, so it also works from other mount namespaces.
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
        > "$binfmt/register"
fi
grep -qx enabled "$binfmt/qemu-i386" || echo 1 > "$binfmt/qemu-i386"

# $LIB is expanded by each process's own dynamic loader: the 32-bit library for wine's
# programs, the 64-bit one for the 64-bit wineserver.
lib32="$out/lib/i386-linux-gnu/libwine32fix.so"
lib64="$out/lib/x86_64-linux-gnu/libwine32fix.so"
stale=0
for src in mmap_fix.c raw_syscalls.S server_fix.c; do
    for lib in "$lib32" "$lib64"; do
        if [ ! -e "$lib" ] || [ "$here/$src" -nt "$lib" ]; then stale=1; fi
    done
done
if [ "$stale" = 1 ]; then
    mkdir -p "$(dirname "$lib32")" "$(dirname "$lib64")"
    tmp=$(mktemp -d)
    gcc -m32 -O2 -fPIC -ffreestanding -fno-stack-protector -c "$here/mmap_fix.c" -o "$tmp/fix.o"
    gcc -m32 -c "$here/raw_syscalls.S" -o "$tmp/raw.o"
    ld -m elf_i386 -shared -o "$lib32.tmp" "$tmp/fix.o" "$tmp/raw.o"
    gcc -O2 -shared -fPIC -o "$lib64" "$here/server_fix.c" -ldl
    mv "$lib32.tmp" "$lib32"
    rm -rf "$tmp"
fi
/usr/lib/wine/wine --version >/dev/null
echo "LD_PRELOAD=$out/\$LIB/libwine32fix.so"
# A fixed place for the guest's address space, known to server_fix.c.
echo "QEMU_GUEST_BASE=0x10000"
