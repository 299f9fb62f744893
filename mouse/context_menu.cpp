// The context menus of the main window's areas and their "What's This?"
// help: which area a point lies in, which of the four menus it gets, with
// which check marks, and what the chosen item does.
#include <windows.h>

#include "base/controls.h"
#include "base/globals.h"
#include "base/owned_handle.h"
#include "dialogs/help.h"
#include "mouse/mouse_modes.h"
#include "resources/resource_ids.h"

namespace {

// Pop-ups of menu 141, by position.
enum : int { ViewMenu = 0, SelectionMenu = 1, ColourMenu = 2, CoordsMenu = 3 };

// Control id of the hidden window "What's This?" asks help for.
constexpr int HelpAnchorId = 1;

void check(HMENU menu, UINT command, bool on)
{
    CheckMenuItem(menu, command, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

// The pop-up for the area, with its items' states set from the settings and
// the zoom factor.
HMENU preparePopup(HMENU menus, DWORD helpId, bool selectionMenu, int zoom)
{
    HMENU popup;
    if (helpId == ColourPaneHelp) {
        popup = GetSubMenu(menus, ColourMenu);
        check(popup, IDM_TOGGLE_STATUSBAR, Settings.DisplayStatusbar);
        CheckMenuRadioItem(popup, IDM_COLOUR_RGB, IDM_COLOUR_HEX,
                           Settings.DisplayRGBColourPanel ? IDM_COLOUR_RGB : IDM_COLOUR_HEX, MF_BYCOMMAND);
    } else if (helpId == CoordsPaneHelp) {
        popup = GetSubMenu(menus, CoordsMenu);
        check(popup, IDM_TOGGLE_STATUSBAR, Settings.DisplayStatusbar);
        CheckMenuRadioItem(popup, IDM_COORDS_SCREEN, IDM_COORDS_CLIENT,
                           Settings.RelativeCoords ? IDM_COORDS_CLIENT : IDM_COORDS_SCREEN, MF_BYCOMMAND);
    } else if (selectionMenu) {
        popup = GetSubMenu(menus, SelectionMenu);
        EnableMenuItem(popup, IDM_ZOOM_TO_SELECTION, MF_BYCOMMAND | (zoom == MaxZoomFactor ? MF_GRAYED : MF_ENABLED));
    } else {
        popup = GetSubMenu(menus, ViewMenu);
        check(popup, IDM_ALWAYS_ON_TOP, Settings.AlwaysOnTop);
        check(popup, IDM_FOLLOW_MOUSE, Settings.MouseTracking);
        check(popup, IDM_TOGGLE_TOOLBAR, Settings.DisplayToolbar);
        check(popup, IDM_TOGGLE_TRANSPARENT, Settings.Transparent);
        check(popup, IDM_TOGGLE_STATUSBAR, Settings.DisplayStatusbar);
        check(popup, IDM_ZOOM_2X, zoom == 2);
        check(popup, IDM_ZOOM_4X, zoom == 4);
    }
    return popup;
}

}  // namespace

bool MouseModes::ContextHelpIdAt(POINT p, DWORD& id) const
{
    id = 0;
    if (!PointInWindow(window, p))
        return false;  // no area of this window lies there
    POINT client = p;
    ScreenToClient(window, &client);
    if (view.region() && PtInRegion(view.region(), client.x, client.y)) {
        id = ViewHelp;
        return true;
    }
    return chrome.areaHelpId(p, id);
}

bool MouseModes::ShowContextMenu(POINT p)
{
    DWORD helpId = 0;
    if (!ContextHelpIdAt(p, helpId)) {
        CancelSelection();
        return false;
    }
    UINT command = 0;
    const OwnedMenu menus(LoadMenuA(AppInstance, MAKEINTRESOURCEA(IDR_CONTEXT_MENUS)));
    if (HMENU popup = menus ? preparePopup(menus, helpId, kept, view.zoomFactor()) : nullptr)
        command =
            static_cast<UINT>(TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, p.x, p.y, 0, window, nullptr));
    if (command == IDM_WHATS_THIS) {
        showWhatsThis(p, helpId);  // the selection is left as it is
    } else {
        CancelSelection();
        if (command != 0)
            SendMessageA(window, WM_COMMAND, command, 0);  // as a menu's own command
    }
    return true;
}

void MouseModes::showWhatsThis(POINT p, DWORD helpId)
{
    // Help shows the pop-up topic of the window it is given, looked up by
    // the window's control id in the pair list: a hidden window at the point.
    DWORD pairs[] = {HelpAnchorId, helpId, 0, 0};
    POINT client = p;
    ScreenToClient(window, &client);
    const OwnedWindow anchor(CreateWindowExA(0, "STATIC", nullptr, WS_CHILD, client.x, client.y, 10, 10, window,
                                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(HelpAnchorId)), AppInstance,
                                             nullptr));
    // Wine's help bridge refuses HELP_WM_HELP; the same topic is then asked
    // for as a pop-up by its id, so that the help shows on that platform too.
    if (!ShowHelp(anchor, HELP_WM_HELP, reinterpret_cast<ULONG_PTR>(pairs)))
        ShowHelp(anchor, HELP_CONTEXTPOPUP, helpId);
}
