// The update rate: the auto-update timer that refreshes the picture, the
// dispatch of both timers, and the two trackbars.
#include <windows.h>
#include <commctrl.h>

#include "base/globals.h"
#include "chrome/chrome.h"
#include "window/magnifier_window.h"

LRESULT MagnifierWindow::OnTimer(UINT_PTR timerId)
{
    if (IsIconic(hwnd))
        return 0;
    if (timerId == AutoUpdateTimer) {
        // Invalidate rather than paint, so slow paints cannot pile up; a
        // screen that did not change under the view needs no new picture.
        if (!mouse_.selectionUnderWay() && !view_.viewUnchanged()) {
            InvalidateRgn(hwnd, view_.region(), FALSE);
            onlyViewInvalid = view_.region() != nullptr;
        }
    } else if (timerId == ReadoutTimer) {
        // A tick whose fresh picture stands for the auto-update's next one:
        // the timer starts its period again from here instead of painting on
        // top.
        if (readouts_.readoutTick(mouse_.selectionUnderWay()) && Settings.Update > MinUpdateRate)
            SetTimer(hwnd, AutoUpdateTimer, autoUpdatePeriod, nullptr);
    }
    return 0;
}

LRESULT MagnifierWindow::OnHScroll(WPARAM wParam, HWND sender)
{
    const bool zoom = chrome_.isZoomTrackbar(sender);
    const bool rate = chrome_.isRateTrackbar(sender);
    if (!zoom && !rate)
        return 0;
    const int value = zoom ? view_.zoomFactor() : Settings.Update;
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

    // The lowest rate, None, has no auto-update.
    if (rate == MinUpdateRate && Settings.Update != MinUpdateRate)
        KillTimer(hwnd, AutoUpdateTimer);
    Settings.Update = rate;
    chrome_.showUpdateRate(rate);

    // The periods of the rates above None: Slow, Medium, Fast.
    const int periods[] = {Settings.Update1, Settings.Update2, Settings.Update3};
    if (rate > MinUpdateRate) {
        autoUpdatePeriod = static_cast<UINT>(periods[rate - MinUpdateRate - 1]);
        SetTimer(hwnd, AutoUpdateTimer, autoUpdatePeriod, nullptr);
    }
    syncFollowButton();
}
