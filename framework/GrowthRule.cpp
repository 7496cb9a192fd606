#include "framework/GrowthRule.h"

#include <algorithm>

namespace fx {

namespace {
constexpr std::size_t kPage = 4096;
constexpr std::size_t kMaxIncrement = 4u << 20;
constexpr std::size_t kHeader = 96;
} // namespace

//------------------------------------------------------------------------
std::size_t GrownCapacity(std::size_t n, std::size_t step)
{
    std::size_t increment = std::max(step, n / 2);
    if (step < kPage)
        return n + increment;
    increment = std::clamp(increment / kPage * kPage, kPage, kMaxIncrement);
    return (n + increment + kHeader) / kPage * kPage - kHeader;
}

//------------------------------------------------------------------------
bool ShouldShrink(std::size_t n, std::size_t capacity, std::size_t step)
{
    return n < capacity / 2 && n + 4 * step < capacity;
}

} // namespace fx
