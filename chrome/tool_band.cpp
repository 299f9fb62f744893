// The tool band: the rebar (or, with common controls older than 4.71, the
// bare toolbar), the toolbar's buttons and their check states, the zoom and
// update-rate trackbars placed on the toolbar, and the buttons' tooltip texts.
#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include <algorithm>

#include "base/dpi.h"
#include "base/globals.h"
#include "base/owned_handle.h"
#include "chrome/chrome.h"
#include "resources/resource_ids.h"

const char* commonControlsLibrary = "comctl32.dll";

namespace {

const TBBUTTON ToolbarButtons[] = {
    {0, IDM_ALWAYS_ON_TOP, TBSTATE_ENABLED, TBSTYLE_CHECK, {}, 0, 0},
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {}, 0, 0},
    {1, IDM_SAVE_IMAGE, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0},
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {}, 0, 0},
    {2, IDM_COPY_ZOOMED, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0},
    {3, IDM_COPY_ORIGINAL, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0},
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {}, 0, 0},
    {5, IDM_FOLLOW_MOUSE, TBSTATE_ENABLED, TBSTYLE_CHECK, {}, 0, 0},
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {}, 0, 0},
    {6, IDM_TOGGLE_GRID, TBSTATE_ENABLED, TBSTYLE_CHECK, {}, 0, 0},
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {}, 0, 0},
    {7, IDM_OPTIONS, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0},
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {}, 0, 0},
};

constexpr int ToolbarImageCount = 8;  // cells of the toolbar bitmap of the window's DPI

// The first common controls with a rebar: version 4.71.
constexpr DWORD RebarMajorVersion = 4;
constexpr DWORD RebarMinorVersion = 71;

// A button's tooltip fits the notification's own text buffer, terminator
// included.
constexpr int TipTextSize = sizeof(NMTTDISPINFOA::szText);
constexpr UINT_PTR ToolbarRelayId = 1;

// The trackbars are children of the toolbar, which keeps their scroll
// messages to itself; pass them on to the main window with the trackbar as
// sender.
LRESULT CALLBACK relayTrackbarScroll(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR mainWindow)
{
    if (message == WM_HSCROLL && lParam)
        return SendMessageA(reinterpret_cast<HWND>(mainWindow), WM_HSCROLL, wParam, lParam);
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(window, relayTrackbarScroll, ToolbarRelayId);
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

const char* updateRateName(int rate)
{
    static const char* const names[] = {"None", "Slow", "Medium", "Fast"};
    if (rate < MinUpdateRate || rate > MaxUpdateRate)
        return "";
    return names[rate - 1];
}

HRESULT getCommonControlsVersion(DWORD* major, DWORD* minor)
{
    if (!major || !minor)
        return E_INVALIDARG;
    OwnedModule library(LoadLibraryA(commonControlsLibrary));
    if (!library)
        return E_FAIL;
    HRESULT result = S_OK;
    auto getVersion =
        reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void*>(GetProcAddress(library, "DllGetVersion")));
    if (!getVersion) {
        // Libraries older than DllGetVersion are version 4.0.
        *major = 4;
        *minor = 0;
    } else {
        DLLVERSIONINFO info = {};
        info.cbSize = sizeof(info);
        result = getVersion(&info);
        if (FAILED(result)) {
            result = E_FAIL;
        } else {
            *major = info.dwMajorVersion;
            *minor = info.dwMinorVersion;
        }
    }
    return result;
}

void fillToolbarTip(NMHDR* header)
{
    // The tooltip of a button is the command's text up to its line feed.
    char text[TipTextSize] = "";
    ResString command(static_cast<UINT>(header->idFrom));
    if (const char* s = command.GetText()) {
        int n = 0;
        while (s[n] && s[n] != '\n' && n < TipTextSize - 1) {
            text[n] = s[n];
            ++n;
        }
        text[n] = '\0';
    }
    if (header->code == TTN_NEEDTEXTA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
        lstrcpynA(info->szText, text, sizeof(info->szText));
        info->lpszText = info->szText;
    } else {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        MultiByteToWideChar(CP_ACP, 0, text, -1, info->szText, ARRAYSIZE(info->szText));
        info->lpszText = info->szText;
    }
}

void WindowChrome::createToolBand()
{
    DWORD major = 0, minor = 0;
    hasRebar_ = false;
    if (SUCCEEDED(getCommonControlsVersion(&major, &minor)) &&
        (major > RebarMajorVersion || (major == RebarMajorVersion && minor >= RebarMinorVersion))) {
        rebar_ = CreateWindowExA(
            0, REBARCLASSNAMEA, nullptr,
            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER | CCS_NODIVIDER | CCS_TOP, 0, 0, 0, 0,
            window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(RebarId)), AppInstance, nullptr);
        hasRebar_ = rebar_ != nullptr;
    }

    const DWORD toolbarStyle =
        hasRebar_
            ? WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NOPARENTALIGN | CCS_NORESIZE
            : WS_CHILD | WS_VISIBLE | WS_BORDER | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_TOP;
    const ToolbarImageSet images = toolbarImagesForDpi(dpi_);
    toolbar_ = CreateToolbarEx(hasRebar_ ? rebar_.handle() : window, toolbarStyle, ToolbarId, ToolbarImageCount,
                               AppInstance, images.bitmap, nullptr, 0, images.width, images.height, images.width,
                               images.height, sizeof(TBBUTTON));
    if (!hasRebar_)
        rebar_ = Rebar(toolbar_.handle());
    if (toolbar_)
        SetWindowSubclass(toolbar_, relayTrackbarScroll, ToolbarRelayId, reinterpret_cast<DWORD_PTR>(window));

    toolbar_.setTooltips(tooltips_);
    toolbar_.addButtons(ToolbarButtons, sizeof(ToolbarButtons) / sizeof(ToolbarButtons[0]));
    toolbar_.setIndent(scaleToDpi(4, dpi_));

    if (hasRebar_) {
        REBARBANDINFOA band = {};
        band.cbSize = REBARBANDINFOA_V6_SIZE;
        band.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE;
        band.fStyle = RBBS_CHILDEDGE | RBBS_TOPALIGN;
        band.hwndChild = toolbar_;
        band.cxMinChild = 0;
        band.cyMinChild = scaleToDpi(21, dpi_);
        band.cx = scaleToDpi(100, dpi_);
        rebar_.insertBand(band);
    }

    RECT bandRect = {0, 0, 0, 0};
    GetWindowRect(rebar_, &bandRect);
    rebarHeight_ = bandRect.bottom - bandRect.top - 2;
}

void WindowChrome::createTrackbars(int zoomFactor)
{
    RECT o = {0, 0, 0, 0};
    toolbar_.buttonRect(IDM_OPTIONS, o);
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | TBS_NOTICKS | TBS_FIXEDLENGTH;

    // The zoom trackbar is three button widths wide, right of the Options button.
    const int gap = scaleToDpi(2, dpi_);
    const RECT z = {o.right + gap, o.top, 4 * o.right - 3 * o.left + gap, o.bottom};
    zoomTrackbar_ = CreateWindowExA(0, TRACKBAR_CLASSA, nullptr, style, z.left, z.top, z.right - z.left,
                                    z.bottom - z.top, window, nullptr, AppInstance, nullptr);
    zoomTrackbar_.setRange(MinZoomFactor, MaxZoomFactor);
    zoomTrackbar_.setPos(zoomFactor);
    SetParent(zoomTrackbar_, toolbar_);

    // The rate trackbar is half as wide, right of the zoom trackbar.
    const RECT r = {z.right + gap, z.top, z.right + gap + (z.right - z.left) / 2, z.bottom};
    rateTrackbar_ = CreateWindowExA(0, TRACKBAR_CLASSA, nullptr, style, r.left, r.top, r.right - r.left,
                                    r.bottom - r.top, window, nullptr, AppInstance, nullptr);
    rateTrackbar_.setRange(MinUpdateRate, MaxUpdateRate);
    rateTrackbar_.setPos(Settings.Update);
    SetParent(rateTrackbar_, toolbar_);

    // On the bare toolbar the thumbs are made 2 pixels (at 96 DPI) shorter to
    // fit. At other DPIs the default thumb, made for the system's DPI, may
    // outgrow the buttons' height: it is fitted in.
    const bool fitThumbs = dpi_ != BaseDpi || systemDpi() != BaseDpi;
    int length = zoomTrackbar_.thumbLength();
    if (!hasRebar_)
        length -= gap;
    if (fitThumbs)
        length = std::min(length, static_cast<int>(z.bottom - z.top) - 2 * gap);
    if (!hasRebar_ || fitThumbs) {
        zoomTrackbar_.setThumbLength(length);
        rateTrackbar_.setThumbLength(length);
    }
}

void WindowChrome::addTrackbarTooltips(int zoomFactor)
{
    char text[128];
    wsprintfA(text, ZoomLevelFormat.TextOrEmpty(), zoomFactor);
    tooltips_.addWindowTool(zoomTrackbar_, text);
    tooltips_.activate(true);
    wsprintfA(text, AutoUpdateFormat.TextOrEmpty(), updateRateName(Settings.Update));
    tooltips_.addWindowTool(rateTrackbar_, text);
}

void WindowChrome::setButtonCheck(UINT command, bool checked)
{
    toolbar_.setState(command, static_cast<BYTE>(TBSTATE_ENABLED | (checked ? TBSTATE_CHECKED : 0)));
}

void WindowChrome::showToolBand(bool shown)
{
    ShowWindow(rebar_, shown ? SW_SHOW : SW_HIDE);
}

void WindowChrome::zoomChanged(int factor)
{
    zoomTrackbar_.setPos(factor);
    char tip[128];
    wsprintfA(tip, ZoomLevelFormat.TextOrEmpty(), factor);
    tooltips_.updateTipText(zoomTrackbar_, tip);
}

void WindowChrome::showUpdateRate(int rate)
{
    char tip[128];
    wsprintfA(tip, AutoUpdateFormat.TextOrEmpty(), updateRateName(rate));
    tooltips_.updateTipText(rateTrackbar_, tip);
    rateTrackbar_.setPos(rate);
}
