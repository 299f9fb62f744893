// Drawing the magnified picture into the view.
#pragma once
#include <windows.h>

#include <optional>

#include "app/scoped_gdi.h"

// The 256-entry palette of explicit hardware indices used while painting, or
// null when its memory cannot be had (painting then goes without a palette).
HPALETTE createViewPalette();

// The two off-screen buffers of a paint: the view buffer, holding the
// enlarged picture, and the source buffer, holding the screen pixels read.
// They are kept from one paint to the next and made anew only when their
// sizes change, because creating and first touching a large bitmap costs
// more than all the drawing of a paint.
class PaintBuffers {
public:
    PaintBuffers() = default;
    ~PaintBuffers() { release(); }
    PaintBuffers(const PaintBuffers&) = delete;
    PaintBuffers& operator=(const PaintBuffers&) = delete;

    // Buffers of the given sizes compatible with the context; false when they
    // cannot be had (the paint is then skipped).
    bool prepare(HDC reference, int viewWidth, int viewHeight, int sourceWidth, int sourceHeight);
    void release();

    HDC viewDC() const { return view.dc(); }
    HDC sourceDC() const { return source.dc(); }

    // The screen rectangle whose pixels the source buffer holds since the
    // last capture; forgotten when a capture fails or the buffers change.
    void noteCapture(int left, int top, int width, int height);
    void forgetCapture() { captured = RECT{0, 0, 0, 0}; }
    // The colour of a screen pixel as the last capture saw it; false when
    // that capture did not hold the pixel.
    bool capturedPixel(POINT screen, COLORREF& colour) const;

private:
    // A memory context with its own bitmap selected; members end in reverse
    // order: the bitmap is selected out, deleted, then the context deleted.
    struct Buffer {
        std::optional<MemoryDC> context;
        OwnedBitmap bitmap;
        std::optional<SelectedObject> selection;
        int width = 0;
        int height = 0;
        HDC dc() const { return context ? static_cast<HDC>(*context) : nullptr; }
        bool make(HDC reference, int w, int h);
        void release();
    };
    Buffer view;
    Buffer source;
    RECT captured = {0, 0, 0, 0};
};
