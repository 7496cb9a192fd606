// The size of a PNG image read from its header alone (signature and IHDR
// chunk, the first 33 bytes), without decoding anything: what a caller needs
// to lay an image out long before it draws it.
#pragma once

#include <cstddef>
#include <cstdint>

// Reads width and height of the PNG data. False (width and height untouched)
// when the data is shorter than a header, the signature or the IHDR chunk is
// wrong (length, type, checksum), a side is 0 or above 2^31 - 1, or the bit
// depth, colour type, compression, filter or interlace method is not one a
// PNG can have.
bool ReadPngSize(const void* bytes, size_t size, int32_t* width, int32_t* height);
