/* Compiled in the other instruction set state than arm_functions.c, so that
   calls between them cross between ARM and Thumb. */
#include "arm_functions.h"

uint32_t peer_scale(uint32_t x, uint32_t y) { return x * 3u + (y >> 1); }
static uint32_t peer_mix(uint32_t x, uint32_t y) { return (x ^ y) + (x << 5) - (y >> 3); }
peer_function const peer_table[2] = {peer_scale, peer_mix};
