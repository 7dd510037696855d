/*
 * Preloaded into the 64-bit wineserver when wine's 32-bit programs run under qemu-i386.
 * qemu places the guest's address space at a fixed offset in its own (QEMU_GUEST_BASE,
 * set by the harness), but the wineserver reads and writes other processes' memory
 * (ReadProcessMemory, WriteProcessMemory) through /proc/PID/mem at the guest's
 * addresses. This adds the offset for those files when PID is a qemu-i386 process, so
 * that a test driver can hand structures to another program's common controls.
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <unistd.h>

static off_t guest_offset(int fd) {
    const char* base = getenv("QEMU_GUEST_BASE");
    if (!base || !*base)
        return 0;
    char link[64], target[256];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    ssize_t n = readlink(link, target, sizeof target - 1);
    if (n <= 0)
        return 0;
    target[n] = '\0';
    int pid = 0;
    char rest[8] = "";
    if (sscanf(target, "/proc/%d/%7s", &pid, rest) != 2 || strcmp(rest, "mem") != 0)
        return 0;
    snprintf(link, sizeof link, "/proc/%d/exe", pid);
    n = readlink(link, target, sizeof target - 1);
    if (n <= 0)
        return 0;
    target[n] = '\0';
    if (!strstr(target, "qemu-i386"))
        return 0;
    return (off_t)strtoull(base, NULL, 0);
}

typedef ssize_t (*pread_fn)(int, void*, size_t, off_t);
typedef ssize_t (*pwrite_fn)(int, const void*, size_t, off_t);

ssize_t pread64(int fd, void* buf, size_t count, off_t offset) {
    static pread_fn real;
    if (!real)
        real = (pread_fn)dlsym(RTLD_NEXT, "pread64");
    return real(fd, buf, count, offset + guest_offset(fd));
}

ssize_t pread(int fd, void* buf, size_t count, off_t offset) {
    return pread64(fd, buf, count, offset);
}

ssize_t pwrite64(int fd, const void* buf, size_t count, off_t offset) {
    static pwrite_fn real;
    if (!real)
        real = (pwrite_fn)dlsym(RTLD_NEXT, "pwrite64");
    return real(fd, buf, count, offset + guest_offset(fd));
}

ssize_t pwrite(int fd, const void* buf, size_t count, off_t offset) {
    return pwrite64(fd, buf, count, offset);
}
