// The live readouts: timer 2, which in follow mode moves the zoom point to
// the mouse, and the coordinates and colour under the mouse for the status
// bar, with the cursor's shape read for the view.
#include "readouts/readouts.h"

#include "base/globals.h"

LiveReadouts::LiveReadouts(ZoomView& zoomView, WindowChrome& windowChrome) : view{zoomView}, chrome{windowChrome} {}

bool LiveReadouts::readoutsShown() const
{
    return Settings.DisplayStatusbar && chrome.statusBar();
}

void LiveReadouts::syncReadoutTimer()
{
    // Only follow mode and a shown status bar use the tick: without them the
    // timer rests rather than wake the program ten times a second for nothing.
    const bool needed = Settings.MouseTracking || readoutsShown();
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
    // The mouse matters only to follow mode and to the texts of a shown
    // status bar; with neither, the tick asks nothing of the system.
    const bool follow = Settings.MouseTracking && !selectionUnderWay;
    if (!follow && !readoutsShown())
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
    if (readoutsShown())
        showReadouts(cursor, capturedNow);
    return capturedNow;
}

void LiveReadouts::showReadouts(POINT cursor, bool capturedNow)
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
    if (!capturedNow || !view.copiesExactly() || !view.capturedPixel(cursor, colour)) {
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
