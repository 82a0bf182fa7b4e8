/* The functions the interpreter's tests run as ARM and Thumb code and
   natively: each takes six words (four in registers, two on the stack under
   the ARM calling standard) and returns a word. */
#ifndef ARM_FUNCTIONS_H
#define ARM_FUNCTIONS_H
#include <stdint.h>

#define ARM_FUNCTIONS(X) \
    X(widths) X(divisions) X(divisions64) X(multiply64) X(switch_table) \
    X(fibonacci) X(bytes_and_halves) X(struct_on_stack) X(function_pointers) \
    X(other_state) X(six_arguments) X(bit_tricks) X(compute_mix)

#ifdef __cplusplus
extern "C" {
#endif
#define ARM_DECLARE(name) uint32_t name(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t);
ARM_FUNCTIONS(ARM_DECLARE)
#undef ARM_DECLARE
typedef uint32_t (*host_function)(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t);
uint32_t call_host(host_function host, uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t e);
/* Compiled in the other state (ARM beside Thumb code, Thumb beside ARM). */
uint32_t peer_scale(uint32_t x, uint32_t y);
typedef uint32_t (*peer_function)(uint32_t, uint32_t);
extern peer_function const peer_table[2];
#ifdef __cplusplus
}
#endif
#endif
