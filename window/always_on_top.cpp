// Always on top: the main window's place in the z-order, with its owned
// pop-ups kept above it, and the toolbar button that shows it.
#include <windows.h>

#include <vector>

#include "base/globals.h"
#include "resources/resource_ids.h"
#include "window/magnifier_window.h"

namespace {

struct OwnedSearch {
    HWND owner;
    std::vector<HWND> found;
};

BOOL CALLBACK collectOwned(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<OwnedSearch*>(param);
    if (GetWindow(window, GW_OWNER) == search->owner)
        search->found.push_back(window);
    return TRUE;
}

// The top-level windows of the owner's thread that it owns (tooltip control,
// tips and overlays), from the top of the z-order down.
std::vector<HWND> ownedWindows(HWND owner)
{
    OwnedSearch search{owner, {}};
    EnumThreadWindows(GetWindowThreadProcessId(owner, nullptr), collectOwned, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

void MagnifierWindow::applyAlwaysOnTop()
{
    // Wine does not make a window topmost while it owns a topmost pop-up (the
    // tooltip control is one): it moves the pop-ups into the topmost band and
    // leaves the window after them, outside it. So the owned windows are let
    // go of for the move, then put into the same band above the window, as
    // Windows does with owned windows itself, and owned again.
    HWND band = Settings.AlwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST;
    const UINT flags = SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE;
    const std::vector<HWND> owned = ownedWindows(hwnd);
    for (HWND window : owned)
        SetWindowLongPtrA(window, GWLP_HWNDPARENT, 0);
    SetWindowPos(hwnd, band, 0, 0, 0, 0, flags);
    // Bottom first, so that they keep their order among themselves.
    for (auto window = owned.rbegin(); window != owned.rend(); ++window) {
        SetWindowPos(*window, band, 0, 0, 0, 0, flags);
        SetWindowLongPtrA(*window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(hwnd));
    }
    chrome_.setButtonCheck(IDM_ALWAYS_ON_TOP, Settings.AlwaysOnTop != 0);
}
