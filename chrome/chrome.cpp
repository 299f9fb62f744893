// The window chrome as a whole: building it for the window's DPI and again
// for another, the routing of the controls' notifications, and the room and
// areas of the bars in the window.
#include "chrome/chrome.h"

#include "base/dpi.h"
#include "base/globals.h"
#include "resources/resource_ids.h"

namespace {

// DPIs the chrome can be built for: 50 % to 1000 %.
constexpr int LowestDpi = BaseDpi / 2;
constexpr int HighestDpi = BaseDpi * 10;

bool inside(const RECT& r, POINT p)
{
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

}  // namespace

bool PointInWindow(HWND window, POINT p)
{
    RECT r;
    return window && IsWindowVisible(window) && GetWindowRect(window, &r) && inside(r, p);
}

void WindowChrome::create(HWND owner, int zoomFactor)
{
    window = owner;
    tooltips_.create(AppInstance, window);
    dpi_ = dpiForWindow(window);
    build(zoomFactor);
}

void WindowChrome::build(int zoomFactor)
{
    chromeFont.reset(createGuiFontForDpi(dpi_));
    createToolBand();
    createTrackbars(zoomFactor);
    createStatusBar();
    setStatusParts();
    addTrackbarTooltips(zoomFactor);
    addPaneTooltips();
}

bool WindowChrome::rebuildForDpi(int newDpi, int zoomFactor)
{
    if (newDpi < LowestDpi || newDpi > HighestDpi || newDpi == dpi_)
        return false;
    dpi_ = newDpi;
    // The shared tooltip control outlives the controls: their tools go, and
    // the toolbar lets go of it so that it is not destroyed with the toolbar.
    tooltips_.removeToolsOf(zoomTrackbar_);
    tooltips_.removeToolsOf(rateTrackbar_);
    tooltips_.removeToolsOf(toolbar_);
    tooltips_.removeToolsOf(statusBar_);
    toolbar_.setTooltips(nullptr);
    DestroyWindow(rebar_);  // the toolbar and the trackbars with it
    DestroyWindow(statusBar_);
    build(zoomFactor);
    forgetColourShown();  // the next readout fills the new bar's colour panes

    setButtonCheck(IDM_ALWAYS_ON_TOP, Settings.AlwaysOnTop != 0);
    setButtonCheck(IDM_FOLLOW_MOUSE, Settings.MouseTracking != 0);
    setButtonCheck(IDM_TOGGLE_GRID, Settings.ShowGrid != 0);
    ShowWindow(rebar_, Settings.DisplayToolbar ? SW_SHOW : SW_HIDE);
    ShowWindow(statusBar_, Settings.DisplayStatusbar ? SW_SHOW : SW_HIDE);
    return true;
}

LRESULT WindowChrome::OnNotify(const NMHDR* header) const
{
    if (!header)
        return 0;
    if (header->code == TTN_NEEDTEXTA || header->code == TTN_NEEDTEXTW)
        fillToolbarTip(const_cast<NMHDR*>(header));
    else if (header->code == static_cast<UINT>(NM_CLICK) && header->hwndFrom == statusBar_)
        openClickedLink(*reinterpret_cast<const NMMOUSE*>(header));
    return 0;
}

RECT WindowChrome::viewRect() const
{
    RECT r = {0, 0, 0, 0};
    GetClientRect(window, &r);
    if (Settings.DisplayToolbar)
        r.top += rebarHeight_;
    if (Settings.DisplayStatusbar)
        r.bottom -= statusHeight_;
    return r;
}

void WindowChrome::viewLaidOut(const RECT& view)
{
    const int width = view.right - view.left;
    if (rebar_)
        SetWindowPos(rebar_, nullptr, 0, 0, width, rebarHeight_, SWP_NOZORDER | SWP_NOMOVE);
    if (statusBar_)
        SetWindowPos(statusBar_, nullptr, 0, view.bottom, width, statusHeight_, SWP_NOZORDER);
    refreshPaneTooltips();
}

bool WindowChrome::areaHelpId(POINT p, DWORD& id) const
{
    id = 0;
    if (PointInWindow(rateTrackbar_, p)) {
        id = RateTrackbarHelp;
    } else if (PointInWindow(zoomTrackbar_, p)) {
        id = ZoomTrackbarHelp;
    } else if (PointInWindow(statusBar_, p)) {
        id = StatusBarHelp;
        POINT s = p;
        ScreenToClient(statusBar_, &s);
        for (int pane = 0; pane < PaneCount; ++pane) {
            RECT r;
            if (statusBar_.paneRect(pane, r) && inside(r, s))
                id = StatusBarHelp + pane;
        }
    } else if (PointInWindow(toolbar_, p) || PointInWindow(rebar_, p)) {
        POINT t = p;
        ScreenToClient(toolbar_, &t);
        const int index = toolbar_.hitTest(t);
        TBBUTTON button = {};
        if (index >= 0 && toolbar_.button(index, button))
            id = static_cast<DWORD>(button.idCommand);
        if (id == 0)
            id = ToolbarHelp;
    }
    return id != 0;
}
