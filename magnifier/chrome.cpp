// Window chrome: the creation of the main window's controls, the status-bar
// panes, the toolbar check states, showing and hiding the bars, and the
// notifications the controls send (tooltip texts, owner-drawn panes, the link,
// menu prompts, the hand cursor).
#include "magnifier/chrome.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlwapi.h>
#include <string.h>

#include "app/globals.h"
#include "dialogs/help.h"
#include "magnifier/magnifier_window.h"
#include "magnifier/placement.h"
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

constexpr int ToolbarImageCount = 8;    // 16 x 15 cells of bitmap 135
constexpr int ToolbarImageWidth = 16;
constexpr int ToolbarImageHeight = 15;
constexpr int SwatchPaneWidth = 31;
constexpr UINT_PTR ToolbarRelayId = 1;

const UINT PaneTooltips[PaneCount] = {0, IDS_TIP_COLOUR_PANE, IDS_TIP_SWATCH_PANE, IDS_TIP_COORDS_PANE,
                                      IDS_TIP_LINK_PANE};

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

int textWidth(HDC dc, ResString& text)
{
    SIZE size = {0, 0};
    const char* s = text.GetText();
    if (s)
        GetTextExtentPoint32A(dc, s, text.GetLength(), &size);
    return size.cx;
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
    HMODULE library = LoadLibraryA(commonControlsLibrary);
    if (!library)
        return E_FAIL;
    HRESULT result = S_OK;
    auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(
        reinterpret_cast<void*>(GetProcAddress(library, "DllGetVersion")));
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
    FreeLibrary(library);
    return result;
}

bool getFileWriteTime(const char* fileName, FILETIME* time)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(fileName, &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    *time = found.ftLastWriteTime;
    FindClose(search);
    return true;
}

bool MagnifierWindow::createControls()
{
    viewCursor = LoadCursorA(AppInstance, MAKEINTRESOURCEA(IDC_VIEW_ARROW));
    setTransparency(hwnd, Settings.Transparent, Settings.nTransparency);
    tooltips.create(AppInstance, hwnd);

    DWORD major = 0, minor = 0;
    hasRebar = false;
    if (SUCCEEDED(getCommonControlsVersion(&major, &minor)) && (major > 4 || (major == 4 && minor >= 71))) {
        rebar = CreateWindowExA(0, REBARCLASSNAMEA, nullptr,
                                WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER |
                                    CCS_NODIVIDER | CCS_TOP,
                                0, 0, 0, 0, hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(RebarId)),
                                AppInstance, nullptr);
        hasRebar = rebar != nullptr;
    }

    const DWORD toolbarStyle =
        hasRebar ? WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NOPARENTALIGN |
                       CCS_NORESIZE
                 : WS_CHILD | WS_VISIBLE | WS_BORDER | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_TOP;
    toolbar = CreateToolbarEx(hasRebar ? rebar : hwnd, toolbarStyle, ToolbarId, ToolbarImageCount, AppInstance,
                              IDB_TOOLBAR, nullptr, 0, ToolbarImageWidth, ToolbarImageHeight, ToolbarImageWidth,
                              ToolbarImageHeight, sizeof(TBBUTTON));
    if (!hasRebar)
        rebar = toolbar;
    if (toolbar)
        SetWindowSubclass(toolbar, relayTrackbarScroll, ToolbarRelayId, reinterpret_cast<DWORD_PTR>(hwnd));

    SendMessageA(toolbar, TB_SETTOOLTIPS, reinterpret_cast<WPARAM>(tooltips.handle()), 0);
    SendMessageA(toolbar, TB_ADDBUTTONSA, sizeof(ToolbarButtons) / sizeof(ToolbarButtons[0]),
                 reinterpret_cast<LPARAM>(ToolbarButtons));
    SendMessageA(toolbar, TB_SETINDENT, 4, 0);

    if (hasRebar) {
        REBARBANDINFOA band = {};
        band.cbSize = REBARBANDINFOA_V6_SIZE;
        band.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE;
        band.fStyle = RBBS_CHILDEDGE | RBBS_TOPALIGN;
        band.hwndChild = toolbar;
        band.cxMinChild = 0;
        band.cyMinChild = 21;
        band.cx = 100;
        SendMessageA(rebar, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
    }

    RECT bandRect = {0, 0, 0, 0};
    GetWindowRect(rebar, &bandRect);
    rebarHeight = bandRect.bottom - bandRect.top - 2;

    createTrackbars();
    createStatusBar();

    setStatusParts();
    addControlTooltips();
    checkHelpFreshness();
    setUpdateRate(Settings.Update, true);
    SetTimer(hwnd, ReadoutTimer, 100, nullptr);

    applyAlwaysOnTop();
    syncGridButton();
    applyToolbarVisibility();
    applyStatusbarVisibility();
    appendSystemMenuItems();
    return true;
}

void MagnifierWindow::createTrackbars()
{
    RECT o = {0, 0, 0, 0};
    SendMessageA(toolbar, TB_GETRECT, IDM_OPTIONS, reinterpret_cast<LPARAM>(&o));
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | TBS_NOTICKS | TBS_FIXEDLENGTH;

    // The zoom trackbar is three button widths wide, right of the Options button.
    const RECT z = {o.right + 2, o.top, 4 * o.right - 3 * o.left + 2, o.bottom};
    zoomTrackbar = CreateWindowExA(0, TRACKBAR_CLASSA, nullptr, style, z.left, z.top, z.right - z.left,
                                   z.bottom - z.top, hwnd, nullptr, AppInstance, nullptr);
    SendMessageA(zoomTrackbar, TBM_SETRANGE, TRUE, MAKELPARAM(MinZoomFactor, MaxZoomFactor));
    SendMessageA(zoomTrackbar, TBM_SETPOS, TRUE, Settings.ZoomFactor);
    SetParent(zoomTrackbar, toolbar);

    // The rate trackbar is half as wide, right of the zoom trackbar.
    const RECT r = {z.right + 2, z.top, z.right + 2 + (z.right - z.left) / 2, z.bottom};
    rateTrackbar = CreateWindowExA(0, TRACKBAR_CLASSA, nullptr, style, r.left, r.top, r.right - r.left,
                                   r.bottom - r.top, hwnd, nullptr, AppInstance, nullptr);
    SendMessageA(rateTrackbar, TBM_SETRANGE, TRUE, MAKELPARAM(MinUpdateRate, MaxUpdateRate));
    SendMessageA(rateTrackbar, TBM_SETPOS, TRUE, Settings.Update);
    SetParent(rateTrackbar, toolbar);

    if (!hasRebar) {
        // On the bare toolbar the thumbs are made 2 pixels shorter to fit.
        const LRESULT length = SendMessageA(zoomTrackbar, TBM_GETTHUMBLENGTH, 0, 0);
        SendMessageA(zoomTrackbar, TBM_SETTHUMBLENGTH, length - 2, 0);
        SendMessageA(rateTrackbar, TBM_SETTHUMBLENGTH, length - 2, 0);
    }
}

void MagnifierWindow::createStatusBar()
{
    statusBar = CreateStatusWindowA(WS_CHILD | WS_VISIBLE | WS_BORDER | SBARS_SIZEGRIP | CCS_BOTTOM,
                                    StatusIdleText.GetText(), hwnd, StatusBarId);
    SendMessageA(statusBar, SB_SETTEXTA, MenuHelpPane | SBT_NOBORDERS,
                 reinterpret_cast<LPARAM>(StatusIdleText.GetText()));
    SendMessageA(statusBar, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    RECT r = {0, 0, 0, 0};
    GetWindowRect(statusBar, &r);
    statusHeight = r.bottom - r.top;
}

void MagnifierWindow::checkHelpFreshness()
{
    // A help file newer than the one last seen opens its main topic once. The
    // bare name is looked for in the current directory.
    FILETIME written;
    if (getFileWriteTime(HelpFileName, &written) && CompareFileTime(&written, &Settings.HelpFileTime) > 0) {
        Settings.HelpFileTime = written;
        ShowHelp(hwnd, HELP_CONTEXT, HelpMainTopic);
    }
}

void MagnifierWindow::appendSystemMenuItems()
{
    HMENU menu = GetSystemMenu(hwnd, FALSE);
    if (!menu)
        return;
    ResString options(IDS_SYS_OPTIONS);
    ResString about(IDS_SYS_ABOUT);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, IDM_SYS_OPTIONS, options.GetText());
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, IDM_SYS_ABOUT, about.GetText());
}

void MagnifierWindow::setStatusParts()
{
    int widths[PaneCount];
    HDC dc = GetDC(hwnd);
    if (!dc)
        return;
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    widths[MenuHelpPane] = textWidth(dc, StatusIdleText) + 6;
    widths[ColourTextPane] = textWidth(dc, ColourMeasureText) + 6;
    widths[SwatchPane] = SwatchPaneWidth;
    widths[CoordsPane] = textWidth(dc, CoordsMeasureText) + 6;
    widths[LinkPane] = textWidth(dc, LinkText) + 12;
    SelectObject(dc, oldFont);
    ReleaseDC(hwnd, dc);

    const RECT v = viewRect();
    const int available = (v.right - v.left) - statusHeight;  // less the size grip
    const int others = widths[1] + widths[2] + widths[3] + widths[4];
    if (available + 3 > widths[0] + others)
        widths[0] = available + 3 - others;

    int edges[PaneCount];
    int edge = 0;
    for (int i = 0; i < PaneCount; ++i) {
        edge += widths[i];
        edges[i] = edge;
    }
    SendMessageA(statusBar, SB_SETPARTS, PaneCount, reinterpret_cast<LPARAM>(edges));
    refreshPaneTooltips();
}

void MagnifierWindow::refreshPaneTooltips()
{
    if (!statusBar)
        return;
    for (int pane = ColourTextPane; pane <= LinkPane; ++pane) {
        RECT r;
        if (SendMessageA(statusBar, SB_GETRECT, pane, reinterpret_cast<LPARAM>(&r)))
            tooltips.setToolRect(statusBar, pane, r);
    }
}

void MagnifierWindow::addControlTooltips()
{
    char text[128];
    wsprintfA(text, ZoomLevelFormat.GetText() ? ZoomLevelFormat.GetText() : "", Settings.ZoomFactor);
    tooltips.addWindowTool(zoomTrackbar, text);
    tooltips.activate(true);
    wsprintfA(text, AutoUpdateFormat.GetText() ? AutoUpdateFormat.GetText() : "", updateRateName(Settings.Update));
    tooltips.addWindowTool(rateTrackbar, text);

    for (int pane = ColourTextPane; pane <= LinkPane; ++pane) {
        RECT r = {0, 0, 0, 0};
        SendMessageA(statusBar, SB_GETRECT, pane, reinterpret_cast<LPARAM>(&r));
        ResString tip(PaneTooltips[pane]);
        lstrcpynA(text, tip.GetText() ? tip.GetText() : "", sizeof(text));
        tooltips.addRectTool(statusBar, r, text, pane);
    }
}

void MagnifierWindow::setButtonCheck(UINT command, bool checked)
{
    SendMessageA(toolbar, TB_SETSTATE, command,
                 MAKELPARAM(TBSTATE_ENABLED | (checked ? TBSTATE_CHECKED : 0), 0));
}

void MagnifierWindow::applyAlwaysOnTop()
{
    SetWindowPos(hwnd, Settings.AlwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    setButtonCheck(IDM_ALWAYS_ON_TOP, Settings.AlwaysOnTop != 0);
}

void MagnifierWindow::syncGridButton()
{
    setButtonCheck(IDM_TOGGLE_GRID, Settings.ShowGrid);
    repaintView();
}

void MagnifierWindow::syncFollowButton()
{
    setButtonCheck(IDM_FOLLOW_MOUSE, Settings.MouseTracking);
    repaintView();
}

void MagnifierWindow::applyToolbarVisibility()
{
    ShowWindow(rebar, Settings.DisplayToolbar ? SW_SHOW : SW_HIDE);
    layoutView();
    repaintView();
}

void MagnifierWindow::applyStatusbarVisibility()
{
    ShowWindow(statusBar, Settings.DisplayStatusbar ? SW_SHOW : SW_HIDE);
    layoutView();
    repaintView();
}

LRESULT MagnifierWindow::OnDrawItem(const DRAWITEMSTRUCT* item)
{
    // The status bar's CtlType is not reliable on every platform: go by id.
    if (!item || item->CtlID != StatusBarId)
        return 0;
    if (item->itemID == SwatchPane) {
        // Only the colour bytes: a pixel that could not be read (all bits set)
        // is shown white, as its text says, and no brush can be made of it.
        HBRUSH brush = CreateSolidBrush(lastColour & 0x00FFFFFF);
        if (brush) {
            FillRect(item->hDC, &item->rcItem, brush);
            DeleteObject(brush);
        }
    } else if (item->itemID == LinkPane) {
        LOGFONTA font = {};
        HFONT statusFont = reinterpret_cast<HFONT>(SendMessageA(item->hwndItem, WM_GETFONT, 0, 0));
        if (!statusFont || !GetObjectA(statusFont, sizeof(font), &font))
            GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
        font.lfUnderline = TRUE;
        HFONT underlined = CreateFontIndirectA(&font);
        HGDIOBJ oldFont = underlined ? SelectObject(item->hDC, underlined) : nullptr;
        // The status bar goes on drawing with this context: leave it as found.
        const COLORREF oldColour = SetTextColor(item->hDC, RGB(0, 0, 255));
        const int oldMode = SetBkMode(item->hDC, TRANSPARENT);
        RECT r = item->rcItem;
        if (LinkText.GetText())
            DrawTextA(item->hDC, LinkText.GetText(), -1, &r, DT_CENTER);
        SetBkMode(item->hDC, oldMode);
        SetTextColor(item->hDC, oldColour);
        if (underlined) {
            SelectObject(item->hDC, oldFont);
            DeleteObject(underlined);
        }
    }
    return 0;
}

LRESULT MagnifierWindow::OnNotify(const NMHDR* header)
{
    if (!header)
        return 0;
    if (header->code == TTN_NEEDTEXTA || header->code == TTN_NEEDTEXTW) {
        // Toolbar buttons: the tooltip is the command's text up to its line feed.
        char text[80] = "";
        ResString command(static_cast<UINT>(header->idFrom));
        if (const char* s = command.GetText()) {
            int n = 0;
            while (s[n] && s[n] != '\n' && n < 79) {
                text[n] = s[n];
                ++n;
            }
            text[n] = '\0';
        }
        if (header->code == TTN_NEEDTEXTA) {
            auto* info = reinterpret_cast<NMTTDISPINFOA*>(const_cast<NMHDR*>(header));
            lstrcpynA(info->szText, text, sizeof(info->szText));
            info->lpszText = info->szText;
        } else {
            auto* info = reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(header));
            MultiByteToWideChar(CP_ACP, 0, text, -1, info->szText, 80);
            info->lpszText = info->szText;
        }
    } else if (header->code == static_cast<UINT>(NM_CLICK) && header->hwndFrom == statusBar) {
        const auto* click = reinterpret_cast<const NMMOUSE*>(header);
        if (click->dwItemSpec == LinkPane) {
            static ResString linkTarget(IDS_WEB_LINK);
            ShellExecuteA(nullptr, "open", linkTarget.GetText(), nullptr, nullptr, SW_SHOWNORMAL);
        }
    }
    return 0;
}

void MagnifierWindow::OnMenuSelect(WPARAM wParam, LPARAM lParam)
{
    const UINT item = LOWORD(wParam);
    const UINT flags = HIWORD(wParam);
    const char* text = StatusIdleText.GetText();
    ResString prompt(item);
    if (lParam && flags != 0xFFFF && item != 0) {
        if (const char* s = prompt.GetText()) {
            if (const char* lineFeed = strchr(s, '\n'))
                text = lineFeed + 1;
        }
    }
    SendMessageA(statusBar, SB_SETTEXTA, MenuHelpPane | SBT_NOBORDERS, reinterpret_cast<LPARAM>(text));
}

bool MagnifierWindow::OnSetCursor()
{
    // A hidden status bar lies below the client area, over the window's
    // border, and must not put the hand there.
    if (!statusBar || !IsWindowVisible(statusBar))
        return false;
    POINT p;
    RECT bar;
    if (!GetCursorPos(&p) || !GetWindowRect(statusBar, &bar) || !PtInRect(&bar, p))
        return false;
    ScreenToClient(statusBar, &p);
    RECT pane;
    if (!SendMessageA(statusBar, SB_GETRECT, LinkPane, reinterpret_cast<LPARAM>(&pane)))
        return false;
    if (p.x < pane.left || p.x >= pane.right || p.y < pane.top || p.y >= pane.bottom)
        return false;
    SetCursor(LinkCursor);
    return true;
}
