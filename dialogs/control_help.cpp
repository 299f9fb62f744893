#include "dialogs/control_help.h"

#include "dialogs/help.h"

namespace {

// Labels and group boxes carry the id -1 (stored in a word by some templates).
bool hasHelp(int id)
{
    return id != -1 && id != 0xFFFF && id != 0;
}

void showHelpOf(HWND control, UINT command, int id, DWORD helpId)
{
    const DWORD pairs[] = {static_cast<DWORD>(id), helpId, 0, 0};
    ShowHelp(control, command, reinterpret_cast<ULONG_PTR>(pairs));
}

}  // namespace

bool ShowControlHelp(const HELPINFO* info)
{
    if (!info || !hasHelp(info->iCtrlId))
        return false;
    showHelpOf(static_cast<HWND>(info->hItemHandle), HELP_WM_HELP, info->iCtrlId, static_cast<DWORD>(info->dwContextId));
    return true;
}

void ShowControlHelpAt(HWND window, LPARAM screenPoint)
{
    const POINT point = {static_cast<short>(LOWORD(screenPoint)), static_cast<short>(HIWORD(screenPoint))};
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        const int id = static_cast<int>(GetWindowLongPtrA(child, GWLP_ID));
        if (IsWindowVisible(child) && GetWindowRect(child, &r) && PtInRect(&r, point) && hasHelp(id)) {
            showHelpOf(child, HELP_CONTEXTMENU, id, GetWindowContextHelpId(child));
            return;
        }
    }
}
