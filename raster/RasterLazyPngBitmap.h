// A PNG image that knows its size from its header and decodes its pixels the
// first time they are asked for. The editor lays out its whole art when a
// plug-in instance is made, but only an editor that is drawn needs pixels:
// a host that scans or loads many instances without opening their editors
// pays for reading headers only.
//
// The bitmap is shared (the process-wide bitmap cache owns it) and may be
// drawn from several threads: the first GetBits or GetRowSpan decodes under
// the bitmap's own lock, later calls only read. Data that turns out not to
// decode leaves a bitmap of 0 x 0 without pixels, which blits draw nothing
// from. Its size is the image's: Resize changes nothing.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

#include "raster/RasterBitmap.h"

class RasterLazyPngBitmap : public RasterBitmap {
public:
  // data (size bytes of PNG) must outlive the bitmap and not change, as a
  // module's resources do; width and height are the header's.
  RasterLazyPngBitmap(const void* data, size_t size, int32_t width, int32_t height);
  ~RasterLazyPngBitmap() override;
  RasterLazyPngBitmap(const RasterLazyPngBitmap&) = delete;
  RasterLazyPngBitmap& operator=(const RasterLazyPngBitmap&) = delete;

  // Decodes on the first call; nullptr when the data does not decode.
  uint32_t* GetBits() override;
  // The header's size, 0 x 0 once decoding has failed.
  int32_t GetWidth() const override;
  int32_t GetHeight() const override;
  // Decodes on the first call; 0 when the data does not decode.
  int32_t GetRowSpan() const override;
  bool Resize(int32_t width, int32_t height) override;

  // Whether the pixels have been decoded (false also after a failed decode).
  bool IsDecoded() const { return mState.load(std::memory_order_acquire) == kDecoded; }
  // Decodes run by every lazy bitmap of the process so far, failed ones
  // included: lets tests and benchmarks see when art is decoded.
  static uint64_t DecodesSoFar();

private:
  enum State : int { kPending, kDecoded, kFailed };
  // The decoded pixels, or nullptr after a failed decode.
  RasterBitmap* Pixels() const;

  const void* mData;
  size_t mSize;
  int32_t mWidth;
  int32_t mHeight;
  mutable std::mutex mDecodeLock;
  mutable std::atomic<int> mState{kPending};
  mutable std::unique_ptr<RasterBitmap> mPixels;  // written once, under mDecodeLock
};

// A lazily decoded bitmap of size bytes of PNG data, or nullptr when the data
// has no valid PNG header (ReadPngSize). The caller owns the result; data
// must outlive it.
RasterBitmap* OpenPngMemory(const void* data, size_t size);
