// Fuzzes PNG decoding from memory, into a new bitmap and into an existing
// one. A decoded image must have a positive size and every one of its rows
// must be readable (AddressSanitizer checks the reads); a failed decode into
// a target leaves no half-made result behind.
#include "raster/RasterMemBitmap.h"
#include "raster/RasterPng.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

void Fail(const char* what)
{
    std::fprintf(stderr, "png fuzz: %s\n", what);
    std::abort();
}

std::uint32_t Checksum(RasterBitmap* bitmap)
{
    if (bitmap->GetWidth() <= 0 || bitmap->GetHeight() <= 0 || bitmap->GetBits() == nullptr)
        Fail("a decoded image without pixels");
    std::uint32_t sum = 0;
    for (int y = 0; y < bitmap->GetHeight(); ++y) {
        const std::uint32_t* row = bitmap->GetBits() + static_cast<std::ptrdiff_t>(y) * bitmap->GetRowSpan();
        for (int x = 0; x < bitmap->GetWidth(); ++x)
            sum += row[x];
    }
    return sum;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::unique_ptr<RasterBitmap> made(DecodePngMemory(data, size, nullptr));
    RasterMemBitmap target(3, 5);
    RasterBitmap* into = DecodePngMemory(data, size, &target);
    if (made != nullptr) {
        if (into != &target)
            Fail("an image decoded alone but not into a target");
        if (Checksum(made.get()) != Checksum(&target))
            Fail("the two decodes differ");
    } else if (into != nullptr) {
        Fail("an image decoded into a target but not alone");
    }
    return 0;
}
