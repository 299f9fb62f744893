// The zoom view: which rectangle of the screen the view magnifies (the cell
// layout, the zoom point and its clamps, the highlight rectangle), and its
// paint (the buffers kept between paints, the screen it reads).
#pragma once
#include <windows.h>

#include "base/owned_handle.h"
#include "view/geometry.h"
#include "view/rendering.h"
#include "view/screen_source.h"
#include "view/view_host.h"

class ZoomView {
public:
    explicit ZoomView(ViewHost& host);
    ~ZoomView();
    ZoomView(const ZoomView&) = delete;
    ZoomView& operator=(const ZoomView&) = delete;

    // The window the view paints into, and the cursor it draws in follow
    // mode; the zoom point starts where the settings left it.
    void attach(HWND window, HCURSOR cursor);
    // Drops the paint's buffers and the screen's context: at the window's end,
    // and after a change of the display (they are made anew on the next paint).
    void release();

    // Zoom geometry
    RECT viewRect() const { return host.viewRect(); }
    void layoutView();
    // The layout made anew and the view repainted in it: after anything that
    // moves or resizes the view.
    void layoutAndRepaint();
    const CellLayout& cells() const { return layout; }
    // No room for the view (the bars overlap); nothing is painted.
    bool empty() const { return viewEmpty; }
    // The view's rectangle as a region, from the last layout.
    HRGN region() const { return viewRegion; }
    // The zoom point as last set; the view shows it clamped.
    POINT zoomPoint() const { return point; }
    void setZoomPoint(POINT zoomPoint) { point = zoomPoint; }
    POINT clampZoomPoint() const;
    RECT highlightRect() const { return highlight; }
    void computeHighlightRect();
    void moveZoomPoint(int dx, int dy);
    // The live zoom factor, and the one operation that changes it.
    int zoomFactor() const;
    void setZoomFactor(int factor);
    // Zooms into a selection of the view (client coordinates, snapped).
    void zoomToSelection(const RECT& selection);

    // View rendering
    // Paints the view; wholeView when the context reaches all of it (not a
    // paint clipped to an update region).
    void paintView(HDC windowDC, bool wholeView = false);
    void repaintView();
    // The screen rectangle the view shows.
    RECT sourceArea() const;
    // Reads the screen for the auto-update: true when the view on the window
    // is still the picture it would paint.
    bool viewUnchanged();
    HPALETTE palette() const { return viewPalette; }
    // The cursor the view draws in follow mode unless it draws the system's.
    HCURSOR cursor() const { return viewCursor; }

    // The screen as the readouts read it
    // Whether a pixel read into the paint keeps the colour a read of the
    // screen gives (true colour, no palette).
    bool copiesExactly() { return screen.copiesExactly(); }
    // The colour of a screen pixel as the last paint captured it.
    bool capturedPixel(POINT at, COLORREF& colour) const { return paintBuffers.capturedPixel(at, colour); }
    bool readScreenPixel(POINT at, COLORREF& colour);
    // The pixels of a screen rectangle, rows top-down, in one read.
    bool readScreenBlock(const RECT& area, COLORREF* pixels) { return screen.readBlock(area, pixels); }
    // The system's cursor shape, read by the readout tick together with the
    // mouse position: the paints until the next tick draw it.
    void noteCursorShape(HCURSOR shape);

private:
    ViewHost& host;
    HWND window = nullptr;
    CellLayout layout = {};
    POINT point = {0, 0};
    RECT highlight = {0, 0, 0, 0};
    bool viewEmpty = false;
    OwnedRegion viewRegion;
    OwnedPalette viewPalette;
    HCURSOR viewCursor = nullptr;  // a shared resource, never destroyed
    // The paint's off-screen buffers, kept while the window exists.
    PaintBuffers paintBuffers;
    // The screen's context for the view and the readouts, kept likewise.
    ScreenSource screen;
    // The cursor's shape as the readout tick last noted it, and when (ms):
    // for a little longer than the readouts' period it stands for the current
    // one, as each read of the cursor costs calls into both servers.
    static constexpr DWORD CursorShapeLifetime = 120;
    HCURSOR cursorShape = nullptr;
    DWORD cursorShapeTime = 0;
    bool cursorShapeNoted = false;
    // The system's current cursor shape for a paint.
    bool systemCursor(HCURSOR& shape) const;

    // The steps of a paint. The screen area read into the source buffer at
    // its own size; false when it could not be read.
    bool captureSource(const RECT& area, bool recaptured);
    // The source enlarged into the view buffer without smoothing, as far as
    // the window shows it.
    void enlargeSource(int zoom, int shownWidth, int shownHeight);
    // In follow mode, the cursor drawn over the zoom point's cell: the
    // system's shape or the view's own. The cursor drawn, or null.
    HCURSOR drawCursor(int zoom, const RECT& area) const;
};
