#pragma once
// Capacity rule shared by every growable byte buffer and pointer list, so that
// memory use is predictable across hosts: large buffers grow in page-sized
// increments, small ones by at least half of what is asked for.
#include <cstddef>

namespace fx {

// Capacity a buffer with the given growth step takes on to hold n bytes.
std::size_t GrownCapacity(std::size_t n, std::size_t step);

// True when a buffer of the given capacity should give memory back on a
// request to hold only n bytes: below half the capacity and below the
// capacity less four steps.
bool ShouldShrink(std::size_t n, std::size_t capacity, std::size_t step);

} // namespace fx
