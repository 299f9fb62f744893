// The live readouts: timer 2, which in follow mode moves the zoom point to
// the mouse, and the coordinates and colour under the mouse for the status
// bar, with the cursor's shape read for the view.
#include "readouts/readouts.h"

#include "base/globals.h"
#include "view/geometry.h"

LiveReadouts::LiveReadouts(ZoomView& zoomView, WindowChrome& windowChrome) : view{zoomView}, chrome{windowChrome} {}

bool LiveReadouts::readoutsShown() const
{
    return Settings.DisplayStatusbar && chrome.statusBar();
}

void LiveReadouts::syncReadoutTimer()
{
    // Only follow mode, a shown status bar and a fed tool use the tick: without
    // them the timer rests rather than wake the program ten times a second for
    // nothing.
    const bool needed = Settings.MouseTracking || readoutsShown() || feeding;
    if (needed && !readoutTimerRuns) {
        readoutTimerRuns = SetTimer(window, ReadoutTimer, ReadoutPeriod, nullptr) != 0;
    } else if (!needed && readoutTimerRuns) {
        KillTimer(window, ReadoutTimer);
        readoutTimerRuns = false;
    }
}

bool LiveReadouts::readCursor(POINT& position)
{
    // A view that draws the system's cursor needs its shape too: one read
    // gives both, and the paints until the next tick draw this shape.
    if (!(Settings.MouseTracking && Settings.DisplayMouseWhenFollowing && Settings.bUseOSCursor))
        return GetCursorPos(&position) != FALSE;
    CURSORINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetCursorInfo(&info))
        return false;
    position = info.ptScreenPos;
    view.noteCursorShape(info.hCursor);
    return true;
}

bool LiveReadouts::readoutTick(bool selectionUnderWay)
{
    // The mouse matters only to follow mode, to the texts of a shown status
    // bar and to a fed tool; with none, the tick asks nothing of the system.
    const bool follow = Settings.MouseTracking && !selectionUnderWay;
    if (!follow && !readoutsShown() && !feeding)
        return false;
    POINT cursor;
    if (!readCursor(cursor))
        return false;
    bool capturedNow = false;  // the view read the screen in this tick

    const POINT zoomPoint = view.zoomPoint();
    if (follow && (cursor.x != zoomPoint.x || cursor.y != zoomPoint.y)) {
        view.setZoomPoint(cursor);  // clamped when painting
        view.repaintView();
        capturedNow = true;
    }
    // A sample's read holds the status bar's pixel too: one read a tick.
    COLORREF atCursor;
    const bool sampled = feeding && feedSample(cursor, capturedNow, atCursor);
    if (readoutsShown())
        showReadouts(cursor, capturedNow, sampled && view.copiesExactly() ? &atCursor : nullptr);
    return capturedNow;
}

void LiveReadouts::feedSamples(bool on)
{
    feeding = on && feed_.side && feed_.take;
    syncReadoutTimer();
}

void LiveReadouts::sampleNow()
{
    POINT cursor;
    COLORREF atCursor;
    if (feed_.side && feed_.take && GetCursorPos(&cursor))
        feedSample(cursor, false, atCursor);
}

bool LiveReadouts::feedSample(POINT cursor, bool capturedNow, COLORREF& atCursor)
{
    const int side = feed_.side(cursor);
    if (side <= 0)
        return false;
    // The square centred on the mouse, less what lies off the screen.
    RECT area = {cursor.x - side / 2, cursor.y - side / 2, cursor.x - side / 2 + side, cursor.y - side / 2 + side};
    const RECT screen = {screenLeft, screenTop, screenLeft + screenWidth, screenTop + screenHeight};
    if (!IntersectRect(&area, &area, &screen) || !PtInRect(&area, cursor))
        return false;
    const int width = area.right - area.left;
    const int count = width * (area.bottom - area.top);
    samplePixels.resize(static_cast<size_t>(count));
    // Follow mode's picture of this tick holds the square already.
    bool read = capturedNow && view.copiesExactly();
    for (int i = 0; read && i < count; ++i)
        read = view.capturedPixel(POINT{area.left + i % width, area.top + i / width}, samplePixels[static_cast<size_t>(i)]);
    if (!read && !view.readScreenBlock(area, samplePixels.data()))
        return false;
    atCursor = samplePixels[static_cast<size_t>((cursor.y - area.top) * width + cursor.x - area.left)];
    feed_.take(samplePixels.data(), count);
    return true;
}

void LiveReadouts::showReadouts(POINT cursor, bool capturedNow, const COLORREF* known)
{
    POINT shown = cursor;
    if (Settings.RelativeCoords) {
        if (HWND under = WindowFromPoint(cursor))
            ScreenToClient(under, &shown);
    }
    chrome.showCoordinates(shown);

    // A capture of this same tick holds the current pixel under the mouse,
    // exactly as a read of the screen would give it on a true-colour display.
    COLORREF colour;
    if (known) {
        colour = *known;
    } else if (!capturedNow || !view.copiesExactly() || !view.capturedPixel(cursor, colour)) {
        if (!view.readScreenPixel(cursor, colour))
            return;
    }
    colour_ = colour;
    chrome.showColour(colour);
}

void LiveReadouts::refreshReadouts()
{
    POINT cursor;
    if (readoutsShown() && !IsIconic(window) && GetCursorPos(&cursor))
        showReadouts(cursor, false);
}

COLORREF LiveReadouts::colourUnderMouse()
{
    // A hidden status bar's readouts rest: the colour is read when asked for.
    POINT cursor;
    COLORREF colour;
    if (!readoutsShown() && GetCursorPos(&cursor) && view.readScreenPixel(cursor, colour))
        return colour;
    return colour_;
}
