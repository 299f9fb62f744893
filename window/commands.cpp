// The command vocabulary of the main window (menu items, toolbar buttons and
// accelerators all arrive here as command ids) and keyboard navigation of the
// zoom point.
#include "base/globals.h"
#include "dialogs/about_box.h"
#include "dialogs/help.h"
#include "dialogs/options_dialog.h"
#include "imaging/hotkeys.h"
#include "resources/resource_ids.h"
#include "window/magnifier_window.h"

bool MagnifierWindow::OnCommand(UINT command)
{
    switch (command) {
    case IDM_CLOSE:
        DestroyWindow(hwnd);
        return true;
    case IDM_ALWAYS_ON_TOP:
        Settings.AlwaysOnTop = !Settings.AlwaysOnTop;
        applyAlwaysOnTop();
        break;
    case IDM_FOLLOW_MOUSE:
        Settings.MouseTracking = !Settings.MouseTracking;
        syncFollowButton();
        break;
    case IDM_ZOOM_2X:
        view_.setZoomFactor(2);
        break;
    case IDM_ZOOM_4X:
        view_.setZoomFactor(4);
        break;
    case IDM_HELP_TOPICS:
        ShowHelp(hwnd, HELP_CONTEXT, HelpMainTopic);
        break;
    case IDM_TOGGLE_TOOLBAR:
        Settings.DisplayToolbar = !Settings.DisplayToolbar;
        applyToolbarVisibility();
        break;
    case IDM_TOGGLE_STATUSBAR:
        Settings.DisplayStatusbar = !Settings.DisplayStatusbar;
        applyStatusbarVisibility();
        break;
    case IDM_CANCEL_SELECTION:
        mouse_.CancelSelection();
        break;
    case IDM_ZOOM_TO_SELECTION: {
        RECT selection;
        mouse_.SelectionRect(selection);
        view_.zoomToSelection(selection);
        break;
    }
    case IDM_CONTEXT_MENU: {
        const RECT v = view_.viewRect();
        POINT corner = {v.left, v.top};
        ClientToScreen(hwnd, &corner);
        mouse_.ShowContextMenu(corner);
        break;
    }
    case IDM_HIGHLIGHT:
        mouse_.blinkHighlight();
        break;
    case IDM_TOGGLE_GRID:
        Settings.ShowGrid = !Settings.ShowGrid;
        syncGridButton();
        break;
    case IDM_COLOUR_RGB:
    case IDM_COLOUR_HEX:
        // The text takes the new form when the colour under the mouse changes.
        Settings.DisplayRGBColourPanel = command == IDM_COLOUR_RGB;
        chrome_.redrawStatusBar();
        break;
    case IDM_COORDS_SCREEN:
    case IDM_COORDS_CLIENT:
        Settings.RelativeCoords = command == IDM_COORDS_CLIENT;
        chrome_.redrawStatusBar();
        break;
    case IDM_TOGGLE_TRANSPARENT:
        Settings.Transparent = !Settings.Transparent;
        applyTransparency();
        break;
    case IDM_ZOOM_IN:
        view_.setZoomFactor(view_.zoomFactor() + 1);
        break;
    case IDM_ZOOM_OUT:
        view_.setZoomFactor(view_.zoomFactor() - 1);
        break;
    case IDM_RATE_UP:
        setUpdateRate(Settings.Update + 1, false);
        break;
    case IDM_RATE_DOWN:
        setUpdateRate(Settings.Update - 1, false);
        break;
    case IDM_COPY_ZOOMED:
        output_.copyImage(true, false);
        break;
    case IDM_COPY_ORIGINAL:
        output_.copyImage(false, false);
        break;
    case IDM_COPY_SEL_ORIGINAL:
        output_.copyImage(false, true);
        break;
    case IDM_COPY_SEL_ZOOMED:
        output_.copyImage(true, true);
        break;
    case IDM_SAVE_IMAGE:
        output_.SaveImageAs(mouse_.hasSelection());
        break;
    case IDM_SAVE_SELECTION:
        output_.SaveImageAs(true);
        break;
    case IDM_OPTIONS:
        runOptions();
        break;
    case IDM_ABOUT:
        RunAboutBox(hwnd);
        break;
    case IDM_COLOUR_INSPECTOR:
        showInspector(!inspector_.shown());
        break;
    case IDM_PIN_COLOUR:
        // With the inspector closed, the colour under the mouse is read for it now.
        if (!inspector_.shown())
            readouts_.sampleNow();
        inspector_.pinColour();
        break;
    default:
        break;
    }
    return false;
}

// The Options dialog; values it confirmed are saved at once and the window
// takes the new hotkeys, transparency and grid.
void MagnifierWindow::runOptions()
{
    if (!RunOptionsDialog(hwnd))
        return;
    RegisterHotkeys(hwnd);
    Settings.Save();
    applyTransparency();
    view_.repaintView();
}

void MagnifierWindow::OnKeyDown(UINT virtualKey)
{
    const bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    const int step = control ? Settings.nFastScrollRate : Settings.nSlowScrollRate;
    switch (virtualKey) {
    case VK_LEFT:
        view_.moveZoomPoint(-step, 0);
        break;
    case VK_RIGHT:
        view_.moveZoomPoint(step, 0);
        break;
    case VK_UP:
        view_.moveZoomPoint(0, -step);
        break;
    case VK_DOWN:
        view_.moveZoomPoint(0, step);
        break;
    case VK_PRIOR:
        // A view less one row up; with Ctrl, a view less one column left.
        if (control)
            view_.moveZoomPoint(1 - view_.cells().viewCols, 0);
        else
            view_.moveZoomPoint(0, 1 - view_.cells().viewRows);
        break;
    case VK_NEXT:
        if (control)
            view_.moveZoomPoint(view_.cells().viewCols - 1, 0);
        else
            view_.moveZoomPoint(0, view_.cells().viewRows - 1);
        break;
    case VK_ESCAPE:
        mouse_.EndPointPick();
        mouse_.CancelSelection();
        break;
    default:
        break;
    }
}
