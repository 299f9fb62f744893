#include "overlays/tracking_tooltip.h"

#include "base/globals.h"
#include "base/owned_handle.h"
#include "base/scope_guards.h"
#include "resources/resource_ids.h"

namespace {

constexpr int IconSize = 16;
constexpr int MinimumHeight = 20;

// A drop shadow where the platform has one: NT 5 and later.
bool platformHasDropShadow()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion > 4;
}

}  // namespace

ATOM TrackingToolTip::classAtom = 0;

TrackingToolTip::~TrackingToolTip()
{
    UnregisterOverlayClass(classAtom);
}

void TrackingToolTip::Create(HWND owner)
{
    const UINT shadow = platformHasDropShadow() ? CS_DROPSHADOW : 0;
    if (!EnsureOverlayClass(classAtom, "tiv_TrackingToolTip", CS_BYTEALIGNCLIENT | CS_DBLCLKS | shadow))
        return;
    CreateOverlay(classAtom, WS_POPUP | WS_BORDER, owner);
}

void TrackingToolTip::Show(HWND owner, int x, int y, const char* newText)
{
    if (!hwnd)
        Create(owner);
    if (!hwnd)
        return;
    lstrcpynA(text, newText ? newText : "", sizeof(text));
    // Also the window's text, which other programs (screen readers) can read.
    SetWindowTextA(hwnd, text);

    SIZE size = {0, 0};
    {
        WindowDC dc(GetDC(hwnd), hwnd);
        SelectedObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
        GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    }
    const int width = size.cx + 24;
    const int height = size.cy + 2 < MinimumHeight ? MinimumHeight : size.cy + 2;
    SetWindowPos(hwnd, nullptr, x, y - height, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(hwnd, nullptr, FALSE);
}

LRESULT TrackingToolTip::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT)
        return DefWindowProcA(window, message, wParam, lParam);
    paint(window);
    return 0;
}

void TrackingToolTip::paint(HWND window)
{
    PaintDC dc(window);
    RECT r;
    GetClientRect(window, &r);
    FillRect(dc, &r, GetSysColorBrush(COLOR_INFOBK));
    const OwnedIcon icon(static_cast<HICON>(
        LoadImageA(AppInstance, MAKEINTRESOURCEA(IDI_SCOPELLA), IMAGE_ICON, IconSize, IconSize, LR_DEFAULTCOLOR)));
    if (icon)
        DrawIconEx(dc, 1, 1, icon, IconSize, IconSize, 0, nullptr, DI_NORMAL);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    SelectedObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
    r.left += IconSize;
    DrawTextA(dc, text, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}
