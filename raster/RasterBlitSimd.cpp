// The source-alpha copy is the editor's most used blit. SSE2 handles four
// pixels at a time with the same integer arithmetic as the per-pixel kernel:
// d = s + (d - s) x w / 256 truncated toward zero is computed as
// s + (|d - s| x w >> 8) or s - (|d - s| x w >> 8), whose products fit in
// 16 bits (|d - s| <= 255, w <= 256); the sign is applied afterwards.
#include "raster/RasterBlitSimd.h"

#include "raster/RasterPixelOps.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

#if defined(__SSE2__)

// Two pixels widened to 16-bit lanes: blends towards the source with weight
// w (per pixel, in every lane). The alpha lanes are set by the caller.
inline __m128i BlendHalf(__m128i s, __m128i d, __m128i w) {
  const __m128i below = _mm_cmpgt_epi16(s, d);  // all ones where d < s
  const __m128i spread = _mm_or_si128(_mm_subs_epu16(d, s), _mm_subs_epu16(s, d));
  const __m128i step = _mm_srli_epi16(_mm_mullo_epi16(spread, w), 8);
  return _mm_add_epi16(s, _mm_sub_epi16(_mm_xor_si128(step, below), below));
}

// Broadcasts each pixel's alpha lane (3 and 7) to its four lanes.
inline __m128i SpreadAlpha(__m128i v) {
  return _mm_shufflehi_epi16(_mm_shufflelo_epi16(v, 0xFF), 0xFF);
}

//---
void FullRow(uint32_t* d, const uint32_t* s, int32_t n) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i alphaMask = _mm_set1_epi32(static_cast<int>(0xff000000u));
  const __m128i c255 = _mm_set1_epi16(255);
  int32_t x = 0;
  for (; x + 4 <= n; x += 4) {
    const __m128i src = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + x));
    const __m128i srcAlpha = _mm_and_si128(src, alphaMask);
    const int transparent = _mm_movemask_epi8(_mm_cmpeq_epi32(srcAlpha, zero));
    if (transparent == 0xFFFF) continue;
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(srcAlpha, alphaMask)) == 0xFFFF) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(d + x), src);
      continue;
    }
    const __m128i dst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + x));
    __m128i result[2];
    for (int half = 0; half < 2; ++half) {
      const __m128i s16 = half ? _mm_unpackhi_epi8(src, zero) : _mm_unpacklo_epi8(src, zero);
      const __m128i d16 = half ? _mm_unpackhi_epi8(dst, zero) : _mm_unpacklo_epi8(dst, zero);
      result[half] = BlendHalf(s16, d16, _mm_sub_epi16(c255, SpreadAlpha(s16)));
    }
    // alpha = min(255, A + D): a saturating byte add.
    const __m128i alpha = _mm_and_si128(_mm_adds_epu8(src, dst), alphaMask);
    __m128i out = _mm_or_si128(_mm_andnot_si128(alphaMask, _mm_packus_epi16(result[0], result[1])), alpha);
    // Pixels whose source alpha is 0 stay as they were.
    const __m128i keep = _mm_cmpeq_epi32(srcAlpha, zero);
    out = _mm_or_si128(_mm_andnot_si128(keep, out), _mm_and_si128(keep, dst));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + x), out);
  }
  for (; x < n; ++x) {
    raster_ops::CopySourceAlphaFull(reinterpret_cast<uint8_t*>(d + x), reinterpret_cast<const uint8_t*>(s + x));
  }
}

//---
void WeightedRow(uint32_t* d, const uint32_t* s, int32_t n, int a) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i alphaMask = _mm_set1_epi32(static_cast<int>(0xff000000u));
  const __m128i alphaLanes = _mm_set_epi16(-1, 0, 0, 0, -1, 0, 0, 0);
  const __m128i c1 = _mm_set1_epi16(1);
  const __m128i c255 = _mm_set1_epi16(255);
  const __m128i c256 = _mm_set1_epi16(256);
  const __m128i weight = _mm_set1_epi16(static_cast<short>(a));
  int32_t x = 0;
  for (; x + 4 <= n; x += 4) {
    const __m128i src = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + x));
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(src, alphaMask), zero)) == 0xFFFF) continue;
    const __m128i dst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + x));
    __m128i result[2];
    for (int half = 0; half < 2; ++half) {
      const __m128i s16 = half ? _mm_unpackhi_epi8(src, zero) : _mm_unpacklo_epi8(src, zero);
      const __m128i d16 = half ? _mm_unpackhi_epi8(dst, zero) : _mm_unpacklo_epi8(dst, zero);
      // k = a x (A + 1) / 256 (at most 255 x 256, so the product fits 16 bits).
      const __m128i k = _mm_srli_epi16(_mm_mullo_epi16(weight, _mm_add_epi16(SpreadAlpha(s16), c1)), 8);
      const __m128i colour = BlendHalf(s16, d16, _mm_sub_epi16(c256, k));
      const __m128i alpha = _mm_min_epi16(_mm_add_epi16(k, d16), c255);
      result[half] = _mm_or_si128(_mm_andnot_si128(alphaLanes, colour), _mm_and_si128(alphaLanes, alpha));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + x), _mm_packus_epi16(result[0], result[1]));
  }
  for (; x < n; ++x) {
    raster_ops::CopySourceAlpha(reinterpret_cast<uint8_t*>(d + x), reinterpret_cast<const uint8_t*>(s + x), a);
  }
}

#else

//---
void FullRow(uint32_t* d, const uint32_t* s, int32_t n) {
  for (int32_t x = 0; x < n; ++x) {
    raster_ops::CopySourceAlphaFull(reinterpret_cast<uint8_t*>(d + x), reinterpret_cast<const uint8_t*>(s + x));
  }
}

//---
void WeightedRow(uint32_t* d, const uint32_t* s, int32_t n, int a) {
  for (int32_t x = 0; x < n; ++x) {
    raster_ops::CopySourceAlpha(reinterpret_cast<uint8_t*>(d + x), reinterpret_cast<const uint8_t*>(s + x), a);
  }
}

#endif

}  // namespace

//---
void RasterCopySourceAlphaRows(const RasterRows& rows, int a) {
  for (int32_t y = 0; y < rows.height; ++y) {
    if (a >= 256) {
      FullRow(rows.DestRow(y), rows.SourceRow(y), rows.width);
    } else {
      WeightedRow(rows.DestRow(y), rows.SourceRow(y), rows.width, a);
    }
  }
}
