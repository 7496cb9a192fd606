#pragma once
// Text between the framework (8-bit UTF-8, NUL-terminated) and VST 3 (16-bit
// strings). Both directions cut to the destination's capacity and always
// terminate, so a long name can never overrun a host's String128.
#include "pluginterfaces/base/ftypes.h"

#include <cstddef>

namespace tarvo::vst3 {

// UTF-8 to UTF-16; invalid bytes become U+FFFD. capacity counts 16-bit units
// including the terminator.
void Utf8ToUtf16(const char* src, Steinberg::char16* dst, std::size_t capacity);
// The most 16-bit units a host string holds (String128), terminator included.
inline constexpr std::size_t kHostStringUnits = 128;

// UTF-16 to UTF-8; capacity counts bytes including the terminator. A
// character that does not fit whole is dropped with everything after it.
// At most srcUnits units are read, so a host string that lacks its
// terminator is never read past its end; a surrogate without its partner
// (including a high surrogate in the last unit) becomes U+FFFD.
void Utf16ToUtf8(const Steinberg::char16* src, char* dst, std::size_t capacity,
                 std::size_t srcUnits = kHostStringUnits);

} // namespace tarvo::vst3
