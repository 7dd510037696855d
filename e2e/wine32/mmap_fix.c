/*
 * Preloaded into 32-bit wine processes when they run under qemu-i386 (a kernel without
 * 32-bit support). qemu 7.2 ignores MAP_FIXED_NOREPLACE and maps somewhere else instead;
 * wine takes every such answer as "area taken", halves the area and tries again, down to
 * 64 KiB pieces of the whole upper 2 GiB: about a minute of CPU before each process even
 * starts. Giving wine the kernel's real answer (EEXIST when the address is not free)
 * brings a process start back to about a second.
 *
 * Built without libc headers (no 32-bit libc development files are needed): the system
 * calls are made directly, see raw_syscalls.S.
 */
typedef unsigned int size_t_;

extern int* __errno_location(void);
long wine32fix_mmap2(void* addr, size_t_ len, int prot, int flags, int fd, long pgoff);
long wine32fix_munmap(void* addr, size_t_ len);

#define FIXED_NOREPLACE 0x100000
#define FAILED ((void*)-1)
#define ERR_EXIST 17
#define ERR_INVAL 22

static void* result(long r) {
    if ((unsigned long)r >= (unsigned long)-4095) {
        *__errno_location() = (int)-r;
        return FAILED;
    }
    return (void*)r;
}

static void* map(void* addr, size_t_ len, int prot, int flags, int fd, long long off) {
    /* The kernel refuses offsets that are not page-aligned; wine relies on that refusal
       to fall back to reading PE sections whose file alignment is below a page. */
    if (off & 0xfff) {
        *__errno_location() = ERR_INVAL;
        return FAILED;
    }
    long pgoff = (long)(off >> 12);
    if (!(flags & FIXED_NOREPLACE))
        return result(wine32fix_mmap2(addr, len, prot, flags, fd, pgoff));
    long r = wine32fix_mmap2(addr, len, prot, flags & ~FIXED_NOREPLACE, fd, pgoff);
    if ((unsigned long)r < (unsigned long)-4095 && (void*)r != addr) {
        wine32fix_munmap((void*)r, len);
        *__errno_location() = ERR_EXIST;
        return FAILED;
    }
    return result(r);
}

__attribute__((visibility("default"))) void* mmap(void* addr, size_t_ len, int prot, int flags,
                                                  int fd, long off) {
    return map(addr, len, prot, flags, fd, off);
}

__attribute__((visibility("default"))) void* mmap64(void* addr, size_t_ len, int prot, int flags,
                                                    int fd, long long off) {
    return map(addr, len, prot, flags, fd, off);
}
