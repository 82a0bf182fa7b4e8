/* Test functions with known native results: what compiled ARM and Thumb code
   exercises (widths, libgcc division, 64-bit multiplies, switch tables,
   recursion, byte and halfword traffic, structures on the stack, calls
   through pointers and into the other state). */
#include "arm_functions.h"

/* Arithmetic of every width, with sign and zero extension. */
uint32_t widths(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t e, uint32_t f)
{
    int8_t s8 = (int8_t)a;
    uint8_t u8 = (uint8_t)b;
    int16_t s16 = (int16_t)(c * 3u);
    uint16_t u16 = (uint16_t)(d + e);
    int32_t s32 = (int32_t)(a ^ f);
    int64_t s64 = (int64_t)s32 * s16 + (int64_t)s8 * u16;
    uint64_t u64 = ((uint64_t)a << 32 | b) >> (c & 31);
    s8 = (int8_t)(s8 * 7 + u8);
    s16 = (int16_t)(s16 - u8 * 5);
    return (uint32_t)s8 ^ (uint32_t)s16 ^ (uint32_t)(s64 >> 7) ^ (uint32_t)(u64 >> 3) ^ (uint32_t)(s32 >> (d & 31)) ^ u16;
}

/* 32-bit division and remainder through libgcc, signed and unsigned. */
uint32_t divisions(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t e, uint32_t f)
{
    uint32_t ub = b | 1, uc = (c & 0xFFF) | 1;
    int32_t sa = (int32_t)a, sd = (int32_t)(d | 1);
    if (sd == -1)
        sd = 3;
    return a / ub + a % uc + (uint32_t)(sa / sd) + (uint32_t)(sa % sd) + e / ((f & 7) + 1);
}

/* 64-bit division through libgcc. */
uint32_t divisions64(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t e, uint32_t f)
{
    uint64_t x = (uint64_t)a << 32 | b, y = ((uint64_t)c << 16 | d) | 1;
    int64_t sx = (int64_t)x, sy = (int64_t)(((uint64_t)e << 32 | f) | 1);
    if (sy == -1)
        sy = 5;
    uint64_t q = x / y, r = x % y;
    int64_t sq = sx / sy, sr = sx % sy;
    return (uint32_t)(q ^ (q >> 32) ^ r ^ (uint64_t)sq ^ ((uint64_t)sr >> 11));
}

/* 64-bit multiplies: UMULL, SMULL and their accumulating forms. */
uint32_t multiply64(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t e, uint32_t f)
{
    uint64_t u = (uint64_t)a * b + (uint64_t)c * d;
    int64_t s = (int64_t)((uint64_t)((int64_t)(int32_t)a * (int32_t)e) - (uint64_t)((int64_t)(int32_t)f * (int32_t)c));
    uint64_t full = ((uint64_t)a << 32 | b) * ((uint64_t)c << 32 | d);
    return (uint32_t)(u >> 32) ^ (uint32_t)u ^ (uint32_t)(s >> 32) ^ (uint32_t)(s >> 1) ^ (uint32_t)(full >> 29);
}

/* A dense switch: a jump table. */
uint32_t switch_table(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t e, uint32_t f)
{
    uint32_t total = 0;
    for (uint32_t k = 0; k < 40; k++) {
        switch ((a + k * b) % 13) {
        case 0: total += c; break;
        case 1: total ^= d; break;
        case 2: total -= e; break;
        case 3: total = total * 3 + 1; break;
        case 4: total += k; break;
        case 5: total ^= total >> 3; break;
        case 6: total += f << 2; break;
        case 7: total = ~total; break;
        case 8: total += 0x1234; break;
        case 9: total = (total << 1) | (total >> 31); break;
        case 10: total -= k * k; break;
        default: total += 7; break;
        }
    }
    return total;
}

static uint32_t fib(uint32_t n) { return n < 2 ? n : fib(n - 1) + fib(n - 2); }

/* Recursion: fib(a % 20) and a second recursive walk. */
uint32_t fibonacci(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t e, uint32_t f)
{
    return fib(a % 20) + fib(b % 12) * 7;
}

/* Byte and halfword loads and stores, signed and unsigned, in arrays on the stack. */
uint32_t bytes_and_halves(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t e, uint32_t f)
{
    volatile uint8_t u8[37];
    volatile int8_t s8[37];
    volatile uint16_t u16[23];
    volatile int16_t s16[23];
    uint32_t seed = a ^ (b << 7) ^ f;
    for (int k = 0; k < 37; k++) {
        seed = seed * 1103515245u + 12345u + c;
        u8[k] = (uint8_t)(seed >> 13);
        s8[k] = (int8_t)(seed >> 21);
    }
    for (int k = 0; k < 23; k++) {
        seed = seed * 69069u + d;
        u16[k] = (uint16_t)(seed >> 9);
        s16[k] = (int16_t)(seed >> 15);
    }
    uint32_t total = e;
    for (int k = 0; k < 37; k++)
        total = total * 31 + u8[k] - (uint32_t)s8[(k * 5) % 37];
    for (int k = 0; k < 23; k++)
        total = total * 17 + u16[k] + (uint32_t)s16[(k * 7) % 23];
    return total;
}

struct record {
    uint8_t tag;
    int16_t small;
    uint32_t words[5];
    int64_t big;
};

static struct record make_record(uint32_t a, uint32_t b)
{
    struct record r;
    r.tag = (uint8_t)a;
    r.small = (int16_t)(b - a);
    for (int k = 0; k < 5; k++)
        r.words[k] = a * (uint32_t)k + b;
    r.big = (int64_t)a * -3 + b;
    return r;
}

static uint32_t sum_record(struct record r, uint32_t extra)
{
    uint32_t total = r.tag + (uint32_t)r.small + extra;
    for (int k = 0; k < 5; k++)
        total ^= r.words[k] << k;
    return total + (uint32_t)(r.big >> 3);
}

/* Structures on the stack: returned and passed by value. */
uint32_t struct_on_stack(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t e, uint32_t f)
{
    struct record x = make_record(a, b), y = make_record(c, d);
    x.words[2] += y.words[4];
    return sum_record(x, e) - sum_record(y, f);
}

static uint32_t op_add(uint32_t x, uint32_t y) { return x + y; }
static uint32_t op_sub(uint32_t x, uint32_t y) { return x - y; }
static uint32_t op_mul(uint32_t x, uint32_t y) { return x * y; }
static uint32_t op_rot(uint32_t x, uint32_t y) { return (x << (y & 31)) | (x >> ((32 - (y & 31)) & 31)); }
typedef uint32_t (*binary)(uint32_t, uint32_t);
static binary const operations[4] = {op_add, op_sub, op_mul, op_rot};

/* Calls through function pointers chosen by data. */
uint32_t function_pointers(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t e, uint32_t f)
{
    uint32_t total = a;
    for (uint32_t k = 0; k < 24; k++)
        total = operations[(b >> (k % 16)) & 3](total, c + k * d);
    return total ^ e ^ f;
}

/* Calls into the other state: directly and through a table of pointers. */
uint32_t other_state(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t e, uint32_t f)
{
    uint32_t total = peer_scale(a, b);
    for (uint32_t k = 0; k < 8; k++)
        total = peer_table[(c >> k) & 1](total, d + k);
    return total + peer_scale(e, f);
}

static uint32_t weigh(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t e, uint32_t f, uint32_t g, uint32_t h)
{
    return a + 2 * b + 3 * c + 5 * d + 7 * e + 11 * f + 13 * g + 17 * h;
}

/* Calls a function of the host's, handed over as an argument, with five
   words (one on the stack); the host may call back in. */
uint32_t call_host(host_function host, uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t e)
{
    return host(a, b + 1, c, d, e) * 3 + e;
}

/* Arguments on the stack, in both directions. */
uint32_t six_arguments(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t e, uint32_t f)
{
    return weigh(f, e, d, c, b, a, a ^ f, b ^ e) ^ f;
}

/* Leading zeros, rotations, bit counts and saturating-looking clamps. */
uint32_t bit_tricks(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t e, uint32_t f)
{
    uint32_t zeros = a ? (uint32_t)__builtin_clz(a) : 32;
    uint32_t bits = 0;
    for (uint32_t x = b; x; x &= x - 1)
        bits++;
    int32_t clamp = (int32_t)(c + d);
    if (((int32_t)c > 0 && (int32_t)d > 0 && clamp < 0))
        clamp = 0x7FFFFFFF;
    int32_t product = (int16_t)e * (int16_t)(f >> 16);
    return zeros + bits * 33 + (uint32_t)clamp + (uint32_t)product + ((a >> 3) | (a << 29));
}

/* A compute-heavy loop for the benchmark: ROUNDS (a) of a CRC over a
   generated table, with multiplies and shifts. */
uint32_t compute_mix(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t e, uint32_t f)
{
    uint32_t table[64];
    uint32_t seed = b | 1;
    for (int k = 0; k < 64; k++) {
        seed = seed * 1664525u + 1013904223u;
        table[k] = seed;
    }
    uint32_t crc = ~c;
    for (uint32_t round = 0; round < a; round++) {
        for (int k = 0; k < 64; k++) {
            uint32_t word = table[k] ^ round;
            for (int bit = 0; bit < 8; bit++)
                crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
            crc ^= word;
            table[k] = word * 2654435761u + (crc >> 7);
        }
    }
    return ~crc ^ d ^ e ^ f;
}

#ifdef __arm__
/* Only as ARM code, for the faults: a word read from any address, a
   recursion that needs STEP bytes of stack a level, an undefined instruction. */
__attribute__((noinline)) uint32_t read_word(uint32_t address) { return *(volatile uint32_t *)address; }
/* The word read two and three calls deep, for the chain of calls (no tail
   calls: each caller uses the result). */
__attribute__((noinline)) uint32_t chain_middle(uint32_t address) { return read_word(address) + 1; }
__attribute__((noinline)) uint32_t chain_outer(uint32_t address) { return chain_middle(address) ^ address; }
uint32_t read_half(uint32_t address) { return *(volatile uint16_t *)address; }
uint32_t recurse(uint32_t depth)
{
    volatile uint32_t frame[64];
    frame[depth & 63] = depth;
    return depth == 0 ? 0 : recurse(depth - 1) + frame[depth & 63];
}
uint32_t undefined_instruction(uint32_t x)
{
#ifdef __thumb__
    __asm__ volatile(".short 0xde00");
#else
    __asm__ volatile(".word 0xe7f000f0");
#endif
    return x;
}
/* gcc copies structures with these. */
void *memcpy(void *to, const void *from, unsigned int n)
{
    unsigned char *d = (unsigned char *)to;
    const unsigned char *s = (const unsigned char *)from;
    while (n--)
        *d++ = *s++;
    return to;
}
void *memset(void *to, int value, unsigned int n)
{
    unsigned char *d = (unsigned char *)to;
    while (n--)
        *d++ = (unsigned char)value;
    return to;
}
/* libgcc's division by zero calls it. */
int raise(int signal) { (void)signal; return 0; }
#endif
