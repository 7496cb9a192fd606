#pragma once
// Copies rectangles of a 32-bit bitmap (the editor's back buffer) into an X
// window: through a shared-memory segment (MIT-SHM, descriptor passing)
// where the server offers one, otherwise as plain image uploads split to the
// connection's request size. Never waits for the server except once when
// the segment is attached.
#include "editor/x11/X11Display.h"
#include "raster/RasterBitmap.h"

#include <cstdint>
#include <vector>

class X11Presenter {
public:
    // Prepares presenting into window (of the display's root depth and
    // visual) at up to width x height pixels. allowSharedMemory false keeps
    // to plain uploads.
    X11Presenter(X11Display& display, xcb_window_t window, int width, int height, bool allowSharedMemory);
    ~X11Presenter();
    X11Presenter(const X11Presenter&) = delete;
    X11Presenter& operator=(const X11Presenter&) = delete;

    // Copies rect (clipped to the bitmap and to the presenter's size) of
    // source to the same place in the window.
    void Present(RasterBitmap& source, int left, int top, int right, int bottom);
    // The server finished reading the shared segment.
    void OnShmCompletion() { mShmBusy = false; }
    bool UsesSharedMemory() const { return mShmSegment != 0; }
    int PlainUploads() const { return mPlainUploads; }
    int SharedUploads() const { return mSharedUploads; }

private:
    bool AttachSharedMemory();
    // Writes w x h pixels of source at (x, y) into dest rows strideBytes apart.
    void Convert(RasterBitmap& source, int x, int y, int w, int h, uint8_t* dest, size_t strideBytes) const;
    void PresentPlain(RasterBitmap& source, int x, int y, int w, int h);

    X11Display& mDisplay;
    xcb_window_t mWindow;
    xcb_gcontext_t mGc = 0;
    int mWidth;
    int mHeight;
    int mBytesPerPixel = 4;
    uint32_t mShmSegment = 0;
    uint8_t* mShmPixels = nullptr;
    size_t mShmSize = 0;
    bool mShmBusy = false;
    int mPlainUploads = 0;
    int mSharedUploads = 0;
    std::vector<uint8_t> mScratch;
};
