// UTF-8 <-> UTF-16 conversion for names, labels and value texts.
#include "vst3/TextConvert.h"

namespace tarvo::vst3 {

namespace {

// Decodes one UTF-8 sequence at s; returns the code point and advances s.
char32_t DecodeUtf8(const unsigned char*& s)
{
    unsigned char c = *s++;
    if (c < 0x80)
        return c;
    int extra = (c >= 0xF0 && c < 0xF8) ? 3 : (c >= 0xE0) ? 2 : (c >= 0xC0) ? 1 : -1;
    if (extra < 0)
        return 0xFFFD;
    char32_t cp = c & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
        if ((*s & 0xC0) != 0x80)
            return 0xFFFD;
        cp = (cp << 6) | (*s++ & 0x3F);
    }
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0xFFFD;
    return cp;
}

} // namespace

//------------------------------------------------------------------------
void Utf8ToUtf16(const char* src, Steinberg::char16* dst, std::size_t capacity)
{
    if (dst == nullptr || capacity == 0)
        return;
    std::size_t n = 0;
    const auto* s = reinterpret_cast<const unsigned char*>(src ? src : "");
    while (*s != 0) {
        char32_t cp = DecodeUtf8(s);
        if (cp >= 0x10000) {
            if (n + 2 >= capacity)
                break;
            cp -= 0x10000;
            dst[n++] = static_cast<Steinberg::char16>(0xD800 + (cp >> 10));
            dst[n++] = static_cast<Steinberg::char16>(0xDC00 + (cp & 0x3FF));
        } else {
            if (n + 1 >= capacity)
                break;
            dst[n++] = static_cast<Steinberg::char16>(cp);
        }
    }
    dst[n] = 0;
}

//------------------------------------------------------------------------
void Utf16ToUtf8(const Steinberg::char16* src, char* dst, std::size_t capacity, std::size_t srcUnits)
{
    if (dst == nullptr || capacity == 0)
        return;
    std::size_t n = 0;
    for (std::size_t i = 0; src != nullptr && i < srcUnits && src[i] != 0; ++i) {
        char32_t cp = static_cast<char16_t>(src[i]);
        // The partner of a high surrogate is looked at only inside the limit.
        bool high = cp >= 0xD800 && cp < 0xDC00;
        char32_t next = high && i + 1 < srcUnits ? static_cast<char16_t>(src[i + 1]) : 0;
        if (high && next >= 0xDC00 && next < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (next - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp < 0xE000) {
            cp = 0xFFFD;
        }
        char buf[4];
        std::size_t len;
        if (cp < 0x80) {
            buf[0] = static_cast<char>(cp);
            len = 1;
        } else if (cp < 0x800) {
            buf[0] = static_cast<char>(0xC0 | (cp >> 6));
            buf[1] = static_cast<char>(0x80 | (cp & 0x3F));
            len = 2;
        } else if (cp < 0x10000) {
            buf[0] = static_cast<char>(0xE0 | (cp >> 12));
            buf[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            buf[2] = static_cast<char>(0x80 | (cp & 0x3F));
            len = 3;
        } else {
            buf[0] = static_cast<char>(0xF0 | (cp >> 18));
            buf[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            buf[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            buf[3] = static_cast<char>(0x80 | (cp & 0x3F));
            len = 4;
        }
        if (n + len >= capacity)
            break;
        for (std::size_t b = 0; b < len; ++b)
            dst[n++] = buf[b];
    }
    dst[n] = 0;
}

} // namespace tarvo::vst3
