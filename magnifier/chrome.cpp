// The window chrome as a whole: the creation sequence of the main window's
// controls, tooltips and timers, and the routing of the controls'
// notifications to the files that handle them (tool band, status bar).
#include "magnifier/chrome.h"

#include <commctrl.h>

#include "app/globals.h"
#include "magnifier/dpi.h"
#include "magnifier/magnifier_window.h"
#include "overlays/transparency.h"
#include "resources/resource_ids.h"

bool MagnifierWindow::createControls()
{
    viewCursor = LoadCursorA(AppInstance, MAKEINTRESOURCEA(IDC_VIEW_ARROW));
    setTransparency(hwnd, Settings.Transparent, Settings.nTransparency);
    tooltips.create(AppInstance, hwnd);
    dpi = dpiForWindow(hwnd);
    buildChromeControls();
    checkHelpFreshness();
    setUpdateRate(Settings.Update, true);

    applyAlwaysOnTop();
    syncGridButton();
    applyToolbarVisibility();
    applyStatusbarVisibility();
    syncReadoutTimer();
    appendSystemMenuItems();
    return true;
}

void MagnifierWindow::buildChromeControls()
{
    chromeFont.reset(createGuiFontForDpi(dpi));
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
    else if (header->code == static_cast<UINT>(NM_CLICK) && header->hwndFrom == statusBar)
        openClickedLink(*reinterpret_cast<const NMMOUSE*>(header));
    return 0;
}
