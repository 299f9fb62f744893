// Live readouts and the update rate: the auto-update timer that refreshes the
// picture, the readout timer (follow mode, coordinates, colour under the
// mouse) and the two trackbars.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "app/globals.h"
#include "magnifier/chrome.h"
#include "magnifier/magnifier_window.h"

namespace {
// Item value of the owner-drawn panes; the drawing does not use it.
const LPARAM OwnerDrawnItem = 0x1234;
}  // namespace

LRESULT MagnifierWindow::OnTimer(UINT_PTR timerId)
{
    if (IsIconic(hwnd))
        return 0;
    if (timerId == AutoUpdateTimer) {
        // Invalidate rather than paint, so slow paints cannot pile up; a
        // screen that did not change under the view needs no new picture.
        if (!mouse_.hasSelection && !mouse_.selecting && !view_.viewUnchanged()) {
            InvalidateRgn(hwnd, view_.region(), FALSE);
            onlyViewInvalid = view_.region() != nullptr;
        }
    } else if (timerId == ReadoutTimer) {
        readoutTick();
    }
    return 0;
}

bool MagnifierWindow::readoutsShown() const
{
    return Settings.DisplayStatusbar && chrome_.statusBar;
}

void MagnifierWindow::syncReadoutTimer()
{
    // Only follow mode and a shown status bar use the tick: without them the
    // timer rests rather than wake the program ten times a second for nothing.
    const bool needed = Settings.MouseTracking || readoutsShown();
    if (needed && !readoutTimerRuns) {
        readoutTimerRuns = SetTimer(hwnd, ReadoutTimer, ReadoutPeriod, nullptr) != 0;
    } else if (!needed && readoutTimerRuns) {
        KillTimer(hwnd, ReadoutTimer);
        readoutTimerRuns = false;
    }
}

bool MagnifierWindow::readCursor(POINT& position)
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
    cursorShape = info.hCursor;
    cursorShapeTime = GetTickCount();
    cursorShapeRead = true;
    return true;
}

bool MagnifierWindow::systemCursor(HCURSOR& shape)
{
    // Each read of the cursor costs calls into both servers: a shape the
    // readout tick read within its own period stands for the current one.
    if (cursorShapeRead && GetTickCount() - cursorShapeTime < CursorShapeLifetime) {
        shape = cursorShape;
        return true;
    }
    CURSORINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetCursorInfo(&info))
        return false;
    shape = info.hCursor;
    return true;
}

void MagnifierWindow::readoutTick()
{
    // The mouse matters only to follow mode and to the texts of a shown
    // status bar; with neither, the tick asks nothing of the system.
    const bool follow = Settings.MouseTracking && !mouse_.hasSelection && !mouse_.selecting;
    if (!follow && !readoutsShown())
        return;
    POINT cursor;
    if (!readCursor(cursor))
        return;
    bool capturedNow = false;  // the view read the screen in this tick

    const POINT zoomPoint = view_.zoomPoint();
    if (follow && (cursor.x != zoomPoint.x || cursor.y != zoomPoint.y)) {
        view_.setZoomPoint(cursor);  // clamped when painting
        view_.repaintView();
        capturedNow = true;
        // This fresh picture stands for the auto-update's next one: the timer
        // starts its period again from here instead of painting on top.
        if (Settings.Update > MinUpdateRate)
            SetTimer(hwnd, AutoUpdateTimer, autoUpdatePeriod, nullptr);
    }
    if (readoutsShown())
        showReadouts(cursor, capturedNow);
}

void MagnifierWindow::showReadouts(POINT cursor, bool capturedNow)
{
    POINT shown = cursor;
    if (Settings.RelativeCoords) {
        if (HWND under = WindowFromPoint(cursor))
            ScreenToClient(under, &shown);
    }
    char text[64];
    wsprintfA(text, CoordsFormat.GetText() ? CoordsFormat.GetText() : "", shown.x, shown.y);
    // Every message to the status bar costs calls into the server, even one
    // that changes nothing: send the text only when it differs from the one
    // this bar was last given.
    if (coordsShownIn != chrome_.statusBar.handle() || std::strcmp(coordsShown, text) != 0) {
        chrome_.statusBar.setText(CoordsPane, text);
        lstrcpynA(coordsShown, text, sizeof(coordsShown));
        coordsShownIn = chrome_.statusBar.handle();
    }

    // A capture of this same tick holds the current pixel under the mouse,
    // exactly as a read of the screen would give it on a true-colour display.
    COLORREF colour;
    if (!capturedNow || !view_.copiesExactly() || !view_.capturedPixel(cursor, colour)) {
        if (!view_.readScreenPixel(cursor, colour))
            return;
    }
    showColour(colour);
}

void MagnifierWindow::showColour(COLORREF colour)
{
    if (colour == lastColour_)
        return;
    lastColour_ = colour;
    char text[64];
    ResString& format = Settings.DisplayRGBColourPanel ? ColourRgbFormat : ColourHexFormat;
    wsprintfA(text, format.GetText() ? format.GetText() : "", GetRValue(colour), GetGValue(colour), GetBValue(colour));
    // The status bar repaints at once with every text it is given: a swatch
    // that is owner-drawn already is only marked for redrawing, so that it is
    // drawn in the new colour by the colour text's repaint, not by one more.
    RECT swatch;
    const bool swatchDrawn = chrome_.statusBar.ownerDrawn(SwatchPane) && chrome_.statusBar.paneRect(SwatchPane, swatch);
    if (swatchDrawn)
        InvalidateRect(chrome_.statusBar, &swatch, FALSE);
    chrome_.statusBar.setText(ColourTextPane, text);
    if (!swatchDrawn)
        chrome_.statusBar.setOwnerDrawn(SwatchPane, OwnerDrawnItem);
    // The link looks the same whatever the colour: once this bar draws it,
    // setting it again would only repaint it.
    if (linkShownIn != chrome_.statusBar.handle()) {
        chrome_.statusBar.setOwnerDrawn(LinkPane, OwnerDrawnItem);
        linkShownIn = chrome_.statusBar.handle();
    }
}

void MagnifierWindow::refreshReadouts()
{
    POINT cursor;
    if (readoutsShown() && !IsIconic(hwnd) && GetCursorPos(&cursor))
        showReadouts(cursor, false);
}

COLORREF MagnifierWindow::colourUnderMouse()
{
    // A hidden status bar's readouts rest: the colour is read when asked for.
    POINT cursor;
    COLORREF colour;
    if (!readoutsShown() && GetCursorPos(&cursor) && view_.readScreenPixel(cursor, colour))
        return colour;
    return lastColour_;
}

LRESULT MagnifierWindow::OnHScroll(WPARAM wParam, HWND sender)
{
    const bool zoom = sender && sender == chrome_.zoomTrackbar;
    const bool rate = sender && sender == chrome_.rateTrackbar;
    if (!zoom && !rate)
        return 0;
    const int value = zoom ? Settings.ZoomFactor : Settings.Update;
    int next = value;
    switch (LOWORD(wParam)) {
    case TB_LINEUP:
        next = value - 1;
        break;
    case TB_LINEDOWN:
        next = value + 1;
        break;
    case TB_PAGEUP:
        next = value - 2;
        break;
    case TB_PAGEDOWN:
        next = value + 2;
        break;
    case TB_THUMBPOSITION:
    case TB_THUMBTRACK:
        next = static_cast<short>(HIWORD(wParam));
        break;
    default:
        break;
    }
    if (zoom)
        view_.setZoomFactor(next);
    else
        setUpdateRate(next, false);
    return 0;
}

void MagnifierWindow::setUpdateRate(int rate, bool force)
{
    if (rate >= MaxUpdateRate)
        rate = MaxUpdateRate;
    if (rate <= MinUpdateRate)
        rate = MinUpdateRate;
    if (rate == Settings.Update && !force)
        return;

    char tip[128];
    wsprintfA(tip, AutoUpdateFormat.GetText() ? AutoUpdateFormat.GetText() : "", updateRateName(rate));
    chrome_.tooltips.updateTipText(chrome_.rateTrackbar, tip);

    if (rate == 1 && Settings.Update != 1)
        KillTimer(hwnd, AutoUpdateTimer);
    Settings.Update = rate;
    chrome_.rateTrackbar.setPos(rate);

    const int periods[] = {0, 0, Settings.Update1, Settings.Update2, Settings.Update3};
    if (rate >= 2) {
        autoUpdatePeriod = static_cast<UINT>(periods[rate]);
        SetTimer(hwnd, AutoUpdateTimer, autoUpdatePeriod, nullptr);
    }
    syncFollowButton();
}
