/* The reference side of the differential check: a Linux ARM program for
   qemu-arm that runs generated instruction sequences. From stdin, per case:
   the word count N (0 ends), r0-r12, the flags (CPSR bits 31-27, and bit 5
   to start in Thumb state), the 256-byte buffer, then N instruction words. To stdout, per case: r0-r12,
   CPSR, the buffer and the buffer's address. r11 holds the buffer's
   address while the sequence runs; the sequence returns by
   "ldr pc, [pc, #-4]" and the return address, appended here. */
#include <stdint.h>

enum { kBufferSize = 256, kMaxWords = 1024 };

struct state {
    uint32_t r[13];
    uint32_t cpsr;
};

struct state state;
static uint8_t buffer[kBufferSize] __attribute__((aligned(8)));
uint32_t saved_sp;
uint32_t *code_page;

static long syscall3(long number, long a, long b, long c)
{
    register long r7 __asm__("r7") = number;
    register long r0 __asm__("r0") = a;
    register long r1 __asm__("r1") = b;
    register long r2 __asm__("r2") = c;
    __asm__ volatile("svc 0" : "+r"(r0) : "r"(r7), "r"(r1), "r"(r2) : "memory");
    return r0;
}

static long mmap2(long length)
{
    register long r7 __asm__("r7") = 192;
    register long r0 __asm__("r0") = 0;
    register long r1 __asm__("r1") = length;
    register long r2 __asm__("r2") = 7;        /* read, write, execute */
    register long r3 __asm__("r3") = 0x22;     /* private, anonymous */
    register long r4 __asm__("r4") = -1;
    register long r5 __asm__("r5") = 0;
    __asm__ volatile("svc 0" : "+r"(r0) : "r"(r7), "r"(r1), "r"(r2), "r"(r3), "r"(r4), "r"(r5) : "memory");
    return r0;
}

static int read_all(void *to, long length)
{
    uint8_t *p = (uint8_t *)to;
    while (length > 0) {
        long got = syscall3(3, 0, (long)p, length);
        if (got <= 0)
            return 0;
        p += got;
        length -= got;
    }
    return 1;
}

static void write_all(const void *from, long length) { syscall3(4, 1, (long)from, length); }

void run_sequence(void);
void sequence_return(void);
/* Loads r0-r12 and the flags from `state`, runs the code page, and stores
   them back when the sequence jumps to sequence_return. */
__asm__(
    "    .text\n"
    "    .arm\n"
    "    .global run_sequence\n"
    "run_sequence:\n"
    "    push {r4-r11, lr}\n"
    "    ldr r0, =saved_sp\n"
    "    str sp, [r0]\n"
    "    ldr r0, =state\n"
    "    ldr r1, [r0, #52]\n"
    "    ldr lr, =code_page\n"
    "    ldr lr, [lr]\n"
    "    tst r1, #0x20\n"
    "    orrne lr, lr, #1\n"
    "    msr cpsr_f, r1\n"
    "    ldm r0, {r0-r12}\n"
    "    bx lr\n"
    "    .global sequence_return\n"
    "sequence_return:\n"
    "    push {r0-r12}\n"
    "    mrs r0, cpsr\n"
    "    ldr r1, =state\n"
    "    str r0, [r1, #52]\n"
    "    mov r2, #0\n"
    "1:  ldr r3, [sp, r2, lsl #2]\n"
    "    str r3, [r1, r2, lsl #2]\n"
    "    add r2, r2, #1\n"
    "    cmp r2, #13\n"
    "    blt 1b\n"
    "    ldr r0, =saved_sp\n"
    "    ldr sp, [r0]\n"
    "    pop {r4-r11, pc}\n"
    "    .ltorg\n");

void _start(void)
{
    code_page = (uint32_t *)mmap2(4 * (kMaxWords + 2));
    for (;;) {
        uint32_t words = 0;
        if (!read_all(&words, 4) || words == 0 || words > kMaxWords)
            break;
        if (!read_all(&state, sizeof state) || !read_all(buffer, kBufferSize) || !read_all(code_page, 4 * words))
            break;
        code_page[words] = 0xE51FF004u;                        /* ldr pc, [pc, #-4] */
        code_page[words + 1] = (uint32_t)sequence_return;
        state.r[11] = (uint32_t)buffer;
        run_sequence();
        uint32_t address = (uint32_t)buffer;
        write_all(&state, sizeof state);
        write_all(buffer, kBufferSize);
        write_all(&address, 4);
    }
    syscall3(1, 0, 0, 0);
}
