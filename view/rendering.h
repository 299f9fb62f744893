// Drawing the magnified picture into the view.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "base/owned_handle.h"
#include "base/scope_guards.h"

// The 256-entry palette of explicit hardware indices used while painting, or
// null when its memory cannot be had (painting then goes without a palette).
HPALETTE createViewPalette();

// The two off-screen buffers of a paint: the view buffer, holding the
// enlarged picture, and the source buffer, holding the screen pixels read.
// They are kept from one paint to the next and made anew only when their
// sizes change, because creating and first touching a large bitmap costs
// more than all the drawing of a paint. On a true-colour display they are
// 32-bit top-down DIB sections whose pixels the program reaches itself.
class PaintBuffers {
public:
    PaintBuffers() = default;
    ~PaintBuffers() { release(); }
    PaintBuffers(const PaintBuffers&) = delete;
    PaintBuffers& operator=(const PaintBuffers&) = delete;

    // Buffers of the given sizes for painting into the reference context:
    // with pixels of their own when trueColour and such can be had, else
    // compatible with the context. False when they cannot be had at all (the
    // paint is then skipped).
    bool prepare(HDC reference, bool trueColour, int viewWidth, int viewHeight, int sourceWidth, int sourceHeight);
    void release();

    HDC viewDC() const { return view.dc(); }
    HDC sourceDC() const { return source.dc(); }
    // The pixels of both buffers, rows as wide as the buffer, or null when
    // either is a compatible bitmap. Call GdiFlush before touching them.
    std::uint32_t* viewPixels() const { return source.bits ? view.bits : nullptr; }
    const std::uint32_t* sourcePixels() const { return view.bits ? source.bits : nullptr; }
    int viewStride() const { return view.width; }
    int sourceStride() const { return source.width; }

    // The screen rectangle whose pixels the source buffer holds since the
    // last capture; forgotten when a capture fails or the buffers change.
    void noteCapture(int left, int top, int width, int height);
    void forgetCapture() { captured = RECT{0, 0, 0, 0}; }
    // The colour of a screen pixel as the last capture saw it; false when
    // that capture did not hold the pixel.
    bool capturedPixel(POINT screen, COLORREF& colour) const;

    // The auto-update asks first whether the screen changed: the rectangle is
    // read into the source buffer, and true comes back when its pixels are
    // those of the picture on the window (only with pixels of their own, and
    // buffers made for this size). A read made here serves the next paint.
    bool recaptureUnchanged(HDC screenDC, const RECT& area);
    // The read of recaptureUnchanged, once, when it was of this rectangle.
    bool takeRecapture(const RECT& area);
    // The source pixels and cursor of a paint that reached the whole view.
    void noteShown(const RECT& area, HCURSOR cursor);
    void forgetShown();
    HCURSOR shownCursor() const { return shownCursor_; }

private:
    // A memory context with its own bitmap selected; members end in reverse
    // order: the bitmap is selected out, deleted, then the context deleted.
    struct Buffer {
        OwnedDC context;
        OwnedBitmap bitmap;
        std::optional<SelectedObject> selection;
        std::uint32_t* bits = nullptr;  // a DIB section's pixels, owned by it
        int width = 0;
        int height = 0;
        bool wantedBits = false;  // asked for a DIB section (it may have failed)
        HDC dc() const { return context; }
        bool make(HDC reference, bool trueColour, int w, int h);
        void release();
    };
    Buffer view;
    Buffer source;
    RECT captured = {0, 0, 0, 0};
    RECT recaptured = {0, 0, 0, 0};
    // The picture on the window: its screen rectangle, source pixels, cursor.
    RECT shown = {0, 0, 0, 0};
    std::vector<std::uint32_t> shownPixels;
    HCURSOR shownCursor_ = nullptr;
};
