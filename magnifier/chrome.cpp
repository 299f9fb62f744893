// The window chrome as a whole: the creation sequence of the main window's
// controls, tooltips and timers, the routing of the controls' notifications
// to the files that handle them (tool band, status bar), and what the zoom
// view asks of the window around it (the bars' room, the zoom trackbar, the
// cursor's shape).
#include "magnifier/chrome.h"

#include <commctrl.h>

#include "app/globals.h"
#include "magnifier/dpi.h"
#include "magnifier/magnifier_window.h"
#include "overlays/transparency.h"
#include "resources/resource_ids.h"

bool MagnifierWindow::createControls()
{
    view_.attach(hwnd, LoadCursorA(AppInstance, MAKEINTRESOURCEA(IDC_VIEW_ARROW)));
    readouts_.attach(hwnd);
    output_.attach(hwnd);
    setTransparency(hwnd, Settings.Transparent, Settings.nTransparency);
    chrome_.tooltips.create(AppInstance, hwnd);
    chrome_.dpi = dpiForWindow(hwnd);
    buildChromeControls();
    checkHelpFreshness();
    setUpdateRate(Settings.Update, true);

    applyAlwaysOnTop();
    syncGridButton();
    applyToolbarVisibility();
    applyStatusbarVisibility();
    readouts_.syncReadoutTimer();
    appendSystemMenuItems();
    return true;
}

void MagnifierWindow::buildChromeControls()
{
    chrome_.chromeFont.reset(createGuiFontForDpi(chrome_.dpi));
    createToolBand();
    createTrackbars();
    createStatusBar();
    setStatusParts();
    addControlTooltips();
}

void MagnifierWindow::addControlTooltips()
{
    addTrackbarTooltips();
    addPaneTooltips();
}

LRESULT MagnifierWindow::OnNotify(const NMHDR* header)
{
    if (!header)
        return 0;
    if (header->code == TTN_NEEDTEXTA || header->code == TTN_NEEDTEXTW)
        fillToolbarTip(const_cast<NMHDR*>(header));
    else if (header->code == static_cast<UINT>(NM_CLICK) && header->hwndFrom == chrome_.statusBar)
        openClickedLink(*reinterpret_cast<const NMMOUSE*>(header));
    return 0;
}

RECT MagnifierWindow::viewRect() const
{
    RECT r = {0, 0, 0, 0};
    GetClientRect(hwnd, &r);
    if (Settings.DisplayToolbar)
        r.top += chrome_.rebarHeight;
    if (Settings.DisplayStatusbar)
        r.bottom -= chrome_.statusHeight;
    return r;
}

void MagnifierWindow::viewLaidOut(const RECT& view)
{
    const int width = view.right - view.left;
    if (chrome_.rebar)
        SetWindowPos(chrome_.rebar, nullptr, 0, 0, width, chrome_.rebarHeight, SWP_NOZORDER | SWP_NOMOVE);
    if (chrome_.statusBar)
        SetWindowPos(chrome_.statusBar, nullptr, 0, view.bottom, width, chrome_.statusHeight, SWP_NOZORDER);
    refreshPaneTooltips();
}

void MagnifierWindow::zoomChanged(int factor)
{
    // The zoom trackbar and its tip follow the new factor.
    chrome_.zoomTrackbar.setPos(factor);
    char tip[128];
    wsprintfA(tip, ZoomLevelFormat.GetText() ? ZoomLevelFormat.GetText() : "", factor);
    chrome_.tooltips.updateTipText(chrome_.zoomTrackbar, tip);
}

bool MagnifierWindow::systemCursor(HCURSOR& shape)
{
    return readouts_.systemCursor(shape);
}
