// The screen area the view magnifies (or the part under the selection) copied
// into a screen-compatible bitmap, at the view's size or one bitmap pixel per
// screen pixel. It reads the live screen, so neither grid nor cursor is in it.
#include "app/globals.h"
#include "app/owned_handle.h"
#include "app/scope_guards.h"
#include "magnifier/magnifier_window.h"

OwnedBitmap MagnifierWindow::CaptureImage(bool zoomed, bool selectionOnly)
{
    const POINT centre = clampZoomPoint();
    int sourceLeft = centre.x - halfCols;
    int sourceTop = centre.y - halfRows;
    int sourceWidth = viewCols;
    int sourceHeight = viewRows;
    int width = sourceWidth;
    int height = sourceHeight;
    const RECT view = viewRect();
    if (selectionOnly) {
        RECT selection;
        SelectionRect(selection);
        const int z = Settings.ZoomFactor;
        sourceLeft += (selection.left - view.left) / z;
        sourceTop += (selection.top - view.top) / z;
        sourceWidth = (selection.right - selection.left) / z;
        sourceHeight = (selection.bottom - selection.top) / z;
        width = zoomed ? selection.right - selection.left : sourceWidth;
        height = zoomed ? selection.bottom - selection.top : sourceHeight;
    } else if (zoomed) {
        width = view.right - view.left;
        height = view.bottom - view.top;
    }
    // An empty view or selection has nothing to capture; an empty rectangle
    // must never reach StretchBlt (with the screen as source Wine divides by
    // the source size).
    if (sourceWidth <= 0 || sourceHeight <= 0 || width <= 0 || height <= 0)
        return {};

    WindowDC screen(GetDC(nullptr), nullptr);
    if (!screen)
        return {};
    OwnedBitmap bitmap(CreateCompatibleBitmap(screen, width, height));
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
        StretchBlt(memory, 0, 0, width, height, screen, sourceLeft, sourceTop, sourceWidth, sourceHeight, SRCCOPY);
    }
    return bitmap;
}
