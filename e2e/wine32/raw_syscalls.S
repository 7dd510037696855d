/* i386 system calls through int $0x80, for mmap_fix.c. */
    .text
    .globl wine32fix_mmap2
    .hidden wine32fix_mmap2
    .type wine32fix_mmap2,@function
wine32fix_mmap2:
    push %ebp
    push %ebx
    push %esi
    push %edi
    mov 20(%esp), %ebx
    mov 24(%esp), %ecx
    mov 28(%esp), %edx
    mov 32(%esp), %esi
    mov 36(%esp), %edi
    mov 40(%esp), %ebp
    mov $192, %eax          /* mmap2 */
    int $0x80
    pop %edi
    pop %esi
    pop %ebx
    pop %ebp
    ret

    .globl wine32fix_munmap
    .hidden wine32fix_munmap
    .type wine32fix_munmap,@function
wine32fix_munmap:
    push %ebx
    mov 8(%esp), %ebx
    mov 12(%esp), %ecx
    mov $91, %eax           /* munmap */
    int $0x80
    pop %ebx
    ret

    .section .note.GNU-stack,"",@progbits
