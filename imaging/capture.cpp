// The screen area the view magnifies (or the part under the selection) copied
// into a screen-compatible bitmap, at the view's size or one bitmap pixel per
// screen pixel.
#include "imaging/capture.h"

#include "base/scope_guards.h"

CaptureArea CaptureAreaOf(const RECT& viewSource, const RECT& view, const RECT* selection, int zoom, bool zoomed)
{
    CaptureArea area;
    area.source = viewSource;
    area.width = viewSource.right - viewSource.left;
    area.height = viewSource.bottom - viewSource.top;
    if (selection) {
        const RECT& s = *selection;
        area.source.left += (s.left - view.left) / zoom;
        area.source.top += (s.top - view.top) / zoom;
        area.source.right = area.source.left + (s.right - s.left) / zoom;
        area.source.bottom = area.source.top + (s.bottom - s.top) / zoom;
        area.width = zoomed ? s.right - s.left : area.source.right - area.source.left;
        area.height = zoomed ? s.bottom - s.top : area.source.bottom - area.source.top;
    } else if (zoomed) {
        area.width = view.right - view.left;
        area.height = view.bottom - view.top;
    }
    return area;
}

OwnedBitmap CaptureScreen(const CaptureArea& area)
{
    const RECT& s = area.source;
    const int sourceWidth = s.right - s.left;
    const int sourceHeight = s.bottom - s.top;
    // An empty view or selection has nothing to capture; an empty rectangle
    // must never reach StretchBlt (with the screen as source Wine divides by
    // the source size).
    if (sourceWidth <= 0 || sourceHeight <= 0 || area.width <= 0 || area.height <= 0)
        return {};

    WindowDC screen(GetDC(nullptr), nullptr);
    if (!screen)
        return {};
    OwnedBitmap bitmap(CreateCompatibleBitmap(screen, area.width, area.height));
    if (!bitmap)
        return {};
    OwnedDC memory(CreateCompatibleDC(screen));
    if (!memory)
        return {};
    {
        SelectedObject selected(memory, bitmap);
        SetStretchBltMode(memory, COLORONCOLOR);
        // SRCCOPY alone: layered windows over the area (the highlight frame,
        // a transparent magnifier) stay out of the picture.
        StretchBlt(memory, 0, 0, area.width, area.height, screen, s.left, s.top, sourceWidth, sourceHeight, SRCCOPY);
    }
    return bitmap;
}
