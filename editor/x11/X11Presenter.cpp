// Presenting the back buffer: shared memory where offered, plain uploads else.
#include "editor/x11/X11Presenter.h"

#include <xcb/shm.h>

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace {

// Shift that moves an 8-bit channel to the top of mask, and the mask's width.
void MaskShape(uint32_t mask, int& shift, int& bits)
{
    shift = 0;
    bits = 0;
    if (mask == 0)
        return;
    while ((mask & 1u) == 0) {
        mask >>= 1;
        ++shift;
    }
    while ((mask & 1u) != 0) {
        mask >>= 1;
        ++bits;
    }
}

uint32_t PlaceChannel(uint32_t value8, int shift, int bits)
{
    if (bits <= 0)
        return 0;
    uint32_t v = bits >= 8 ? value8 << (bits - 8) : value8 >> (8 - bits);
    return v << shift;
}

} // namespace

//------------------------------------------------------------------------
X11Presenter::X11Presenter(X11Display& display, xcb_window_t window, int width, int height, bool allowSharedMemory)
    : mDisplay(display)
    , mWindow(window)
    , mWidth(width > 0 ? width : 0)
    , mHeight(height > 0 ? height : 0)
{
    xcb_connection_t* c = mDisplay.Connection();
    mBytesPerPixel = mDisplay.Format().bitsPerPixel >= 24 ? 4 : (mDisplay.Format().bitsPerPixel == 16 ? 2 : 1);
    mGc = xcb_generate_id(c);
    uint32_t noExposures = 0;
    xcb_create_gc(c, mGc, mWindow, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
    if (allowSharedMemory && mDisplay.HasSharedMemory() && mWidth > 0 && mHeight > 0)
        AttachSharedMemory();
}

//------------------------------------------------------------------------
X11Presenter::~X11Presenter()
{
    xcb_connection_t* c = mDisplay.Connection();
    if (mShmSegment != 0)
        xcb_shm_detach(c, mShmSegment);
    if (mShmPixels != nullptr)
        munmap(mShmPixels, mShmSize);
    if (mGc != 0)
        xcb_free_gc(c, mGc);
    xcb_flush(c);
}

//------------------------------------------------------------------------
bool X11Presenter::AttachSharedMemory()
{
    xcb_connection_t* c = mDisplay.Connection();
    mShmSize = static_cast<size_t>(mWidth) * static_cast<size_t>(mHeight) * static_cast<size_t>(mBytesPerPixel);
    int fd = memfd_create("tarvo-editor", MFD_CLOEXEC);
    if (fd < 0)
        return false;
    void* pixels = MAP_FAILED;
    if (ftruncate(fd, static_cast<off_t>(mShmSize)) == 0)
        pixels = mmap(nullptr, mShmSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (pixels == MAP_FAILED) {
        close(fd);
        return false;
    }
    uint32_t segment = xcb_generate_id(c);
    // The connection sends the descriptor and closes it.
    xcb_generic_error_t* error = xcb_request_check(c, xcb_shm_attach_fd_checked(c, segment, fd, 0));
    if (error != nullptr || xcb_connection_has_error(c) != 0) {
        std::free(error);
        munmap(pixels, mShmSize);
        return false;
    }
    mShmPixels = static_cast<uint8_t*>(pixels);
    mShmSegment = segment;
    return true;
}

//------------------------------------------------------------------------
void X11Presenter::Convert(RasterBitmap& source, int x, int y, int w, int h, uint8_t* dest, size_t strideBytes) const
{
    const X11PixelFormat& f = mDisplay.Format();
    const uint32_t* bits = source.GetBits();
    const int span = source.GetRowSpan();
    const int height = source.GetHeight();
    int rs, rb, gs, gb, bs, bb;
    MaskShape(f.redMask, rs, rb);
    MaskShape(f.greenMask, gs, gb);
    MaskShape(f.blueMask, bs, bb);
    for (int row = 0; row < h; ++row) {
        int sy = source.IsFlipped() ? height - 1 - (y + row) : y + row;
        const uint32_t* src = bits + static_cast<size_t>(sy) * static_cast<size_t>(span) + x;
        uint8_t* out = dest + static_cast<size_t>(row) * strideBytes;
        if (f.MatchesBackBuffer()) {
            std::memcpy(out, src, static_cast<size_t>(w) * 4);
            continue;
        }
        for (int i = 0; i < w; ++i) {
            uint32_t p = src[i];
            uint32_t v = PlaceChannel((p >> 16) & 0xff, rs, rb) | PlaceChannel((p >> 8) & 0xff, gs, gb) |
                         PlaceChannel(p & 0xff, bs, bb);
            for (int b = 0; b < mBytesPerPixel; ++b) {
                int shift = f.lsbFirst ? 8 * b : 8 * (mBytesPerPixel - 1 - b);
                out[i * mBytesPerPixel + b] = static_cast<uint8_t>(v >> shift);
            }
        }
    }
}

//------------------------------------------------------------------------
void X11Presenter::Present(RasterBitmap& source, int left, int top, int right, int bottom)
{
    if (source.GetBits() == nullptr)
        return;
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min({right, mWidth, source.GetWidth()});
    bottom = std::min({bottom, mHeight, source.GetHeight()});
    if (right <= left || bottom <= top)
        return;
    const int w = right - left;
    const int h = bottom - top;
    xcb_connection_t* c = mDisplay.Connection();
    if (mShmSegment != 0 && !mShmBusy) {
        // The segment mirrors the window: the rectangle goes to its own place.
        const size_t stride = static_cast<size_t>(mWidth) * static_cast<size_t>(mBytesPerPixel);
        Convert(source, left, top, w, h, mShmPixels + static_cast<size_t>(top) * stride +
                static_cast<size_t>(left) * static_cast<size_t>(mBytesPerPixel), stride);
        xcb_shm_put_image(c, mWindow, mGc, static_cast<uint16_t>(mWidth), static_cast<uint16_t>(mHeight),
                          static_cast<uint16_t>(left), static_cast<uint16_t>(top), static_cast<uint16_t>(w),
                          static_cast<uint16_t>(h), static_cast<int16_t>(left), static_cast<int16_t>(top),
                          mDisplay.Format().depth, XCB_IMAGE_FORMAT_Z_PIXMAP, 1, mShmSegment, 0);
        mShmBusy = true;
        ++mSharedUploads;
    } else {
        // No segment, or the server still reads the last one: upload.
        PresentPlain(source, left, top, w, h);
    }
    xcb_flush(c);
}

//------------------------------------------------------------------------
void X11Presenter::PresentPlain(RasterBitmap& source, int x, int y, int w, int h)
{
    xcb_connection_t* c = mDisplay.Connection();
    size_t rowBytes = (static_cast<size_t>(w) * static_cast<size_t>(mBytesPerPixel) + 3) & ~size_t(3);
    // Requests hold at most the connection's maximum length (in 4-byte units),
    // less the request header.
    size_t maxBytes = static_cast<size_t>(xcb_get_maximum_request_length(c)) * 4;
    size_t rowsPerRequest = maxBytes > 64 + rowBytes ? (maxBytes - 64) / rowBytes : 1;
    for (int done = 0; done < h;) {
        int rows = static_cast<int>(std::min<size_t>(rowsPerRequest, static_cast<size_t>(h - done)));
        mScratch.assign(rowBytes * static_cast<size_t>(rows), 0);
        Convert(source, x, y + done, w, rows, mScratch.data(), rowBytes);
        xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, mWindow, mGc, static_cast<uint16_t>(w),
                      static_cast<uint16_t>(rows), static_cast<int16_t>(x), static_cast<int16_t>(y + done), 0,
                      mDisplay.Format().depth, static_cast<uint32_t>(mScratch.size()), mScratch.data());
        done += rows;
    }
    ++mPlainUploads;
}
