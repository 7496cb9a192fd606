#pragma once
// Fixed-size text fields: every copy is cut to fit and NUL-terminated, so an
// over-long name or label can never be written past its field.
#include <cstddef>
#include <cstring>

namespace fx {

inline void CopyText(char* dst, std::size_t dstSize, const char* src)
{
    if (dstSize == 0)
        return;
    std::size_t n = src ? std::strlen(src) : 0;
    if (n >= dstSize)
        n = dstSize - 1;
    if (n > 0)
        std::memcpy(dst, src, n);
    dst[n] = '\0';
}

template <std::size_t N> void CopyText(char (&dst)[N], const char* src)
{
    CopyText(dst, N, src);
}

} // namespace fx
