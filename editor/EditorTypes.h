#pragma once
// Small value types shared by the editor surface, its controls and the
// platform windows: rectangles, mouse state, blend settings, bitmap strips,
// key codes; RelaxedAtomic (framework/) for fields that two threads touch.
#include "framework/RelaxedAtomic.h"
#include "raster/RasterBitmap.h"

#include <atomic>
#include <cstdint>

// A rectangle of the editor in client pixels. Right and bottom are exclusive
// for hit tests; a rectangle whose four coordinates are all zero is empty.
struct IBounds {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool IsEmpty() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    int32_t W() const { return right - left; }
    int32_t H() const { return bottom - top; }
    // left <= x < right and top <= y < bottom.
    bool Contains(int32_t x, int32_t y) const { return x >= left && x < right && y >= top && y < bottom; }
    // Neither is empty and the two overlap, a shared right or bottom edge
    // counting as overlap: this->right >= b.left, this->left < b.right,
    // this->bottom >= b.top and this->top < b.bottom.
    bool Touches(const IBounds& b) const { return !IsEmpty() && !b.IsEmpty() && Meets(b); }
    // The smallest rectangle holding both; an empty operand yields the other.
    IBounds Union(const IBounds& b) const;
    // The common part under the same overlap test as Touches (emptiness not
    // checked); all zero when they do not meet.
    IBounds Intersection(const IBounds& b) const;
    bool operator==(const IBounds& b) const = default;

private:
    bool Meets(const IBounds& b) const { return right >= b.left && left < b.right && bottom >= b.top && top < b.bottom; }
};

inline IBounds IBounds::Union(const IBounds& b) const
{
    if (IsEmpty())
        return b;
    if (b.IsEmpty())
        return *this;
    return {left < b.left ? left : b.left, top < b.top ? top : b.top, right > b.right ? right : b.right,
            bottom > b.bottom ? bottom : b.bottom};
}

inline IBounds IBounds::Intersection(const IBounds& b) const
{
    if (!Meets(b))
        return {};
    return {left > b.left ? left : b.left, top > b.top ? top : b.top, right < b.right ? right : b.right,
            bottom < b.bottom ? bottom : b.bottom};
}

// Buttons and modifiers at the time of a mouse event.
struct IMouseState {
    bool left = false;
    bool right = false;
    bool shift = false;
    bool control = false;
    bool alt = false;
};

// How a control's bitmaps are combined into the back buffer.
enum IBlendMethod : int32_t {
    kBlendSourceAlpha = 0,  // copy weighted by the source's alpha (controls' default)
    kBlendCopy = 1,         // plain copy, source alpha ignored
    kBlendAdd = 2,          // add, weighted by source alpha
    kBlendDodge = 3,        // colour dodge, weighted by source alpha
};

// A blend method and its opacity (0..1). Greyed controls draw at 0.25.
struct IBlend {
    int32_t method = kBlendSourceAlpha;
    float weight = 1.0f;
};

// A bitmap holding one or more frames of equal size side by side
// (horizontal) or stacked (vertical). The bitmap belongs to the process-wide
// bitmap cache. A strip whose resource could not be loaded has no bitmap and
// a 0 x 0 size, and draws nothing.
struct IBitmapStrip {
    RasterBitmap* bitmap = nullptr;
    int32_t width = 0;    // the whole bitmap
    int32_t height = 0;
    int32_t frames = 1;   // at least 1
    bool horizontal = false;

    int32_t FrameWidth() const { return horizontal ? width / (frames > 1 ? frames : 1) : width; }
    int32_t FrameHeight() const { return horizontal ? height : height / (frames > 1 ? frames : 1); }
};

// Key codes the platform windows hand to SurfaceKeyPress.
enum IKeyCode : int {
    kKeySpace = 0,
    kKeyUp = 1,
    kKeyDown = 2,
    kKeyLeft = 3,
    kKeyRight = 4,
    kKeyDigit0 = 5,   // '0'..'9' are 5..14
    kKeyA = 15,       // 'A'..'Z' (either case) are 15..40
    kKeyZ = 40,
};
