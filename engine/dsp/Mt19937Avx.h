#pragma once
// Internal to Mt19937: the twist and tempering of a whole state, eight words
// at a time with AVX2. Call only after CpuHasAvx2().

#include <cstdint>

// Twists the 624 words of `state` in place and writes their tempered
// values to `tempered`; the same words as the scalar twist.
void Mt19937TwistAvx2(uint32_t* state, uint32_t* tempered);
