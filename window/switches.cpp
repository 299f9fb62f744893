// What the settings' switches change in the window: the grid and follow-mode
// buttons, the bars shown or hidden with the view laid out anew, and the
// window's transparency.
#include "base/globals.h"
#include "overlays/transparency.h"
#include "resources/resource_ids.h"
#include "window/magnifier_window.h"

// The one place the main window's transparency changes: every change of
// Transparent or nTransparency reaches the window through here.
void MagnifierWindow::applyTransparency()
{
    setTransparency(hwnd, Settings.Transparent, Settings.nTransparency);
}

void MagnifierWindow::syncGridButton()
{
    chrome_.setButtonCheck(IDM_TOGGLE_GRID, Settings.ShowGrid);
    view_.repaintView();
}

void MagnifierWindow::syncFollowButton()
{
    chrome_.setButtonCheck(IDM_FOLLOW_MOUSE, Settings.MouseTracking);
    readouts_.syncReadoutTimer();
    view_.repaintView();
}

void MagnifierWindow::applyToolbarVisibility()
{
    chrome_.showToolBand(Settings.DisplayToolbar);
    view_.layoutAndRepaint();
}

void MagnifierWindow::applyStatusbarVisibility()
{
    const bool wasShown = chrome_.showStatusBar(Settings.DisplayStatusbar);
    view_.layoutAndRepaint();
    // The readouts rest while the bar is hidden: shown again, it gets the
    // current texts at once rather than with the next tick.
    if (!wasShown)
        readouts_.refreshReadouts();
    readouts_.syncReadoutTimer();
}

void MagnifierWindow::showInspector(bool shown)
{
    inspector_.show(shown);
    readouts_.feedSamples(inspector_.shown());
    CheckMenuItem(GetSystemMenu(hwnd, FALSE), IDM_SYS_INSPECTOR, inspector_.shown() ? MF_CHECKED : MF_UNCHECKED);
}
