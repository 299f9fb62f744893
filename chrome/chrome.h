// The window chrome: the tool band (rebar or bare toolbar, its buttons, the
// zoom and update-rate trackbars), the status bar and all its panes show (menu
// prompts, the readouts, the swatch and the link), the one tooltip control
// they share, and their font and sizes for the window's DPI.
// Its parts are spread over chrome.cpp (building, notifications, the bars'
// room and areas), tool_band.cpp, status_bar.cpp and menu_prompts.cpp.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "base/controls.h"
#include "base/owned_handle.h"
#include "base/tooltip_control.h"
#include "view/view_host.h"

// Control identifiers.
enum : int { RebarId = 1, StatusBarId = 3, ToolbarId = 115 };

// Status-bar panes.
enum : int { MenuHelpPane = 0, ColourTextPane = 1, SwatchPane = 2, CoordsPane = 3, LinkPane = 4, PaneCount = 5 };

// Help context ids of the window's areas (a toolbar button's is its command).
enum : DWORD {
    ZoomTrackbarHelp = 113,
    RateTrackbarHelp = 114,
    ToolbarHelp = 115,
    ViewHelp = 116,
    StatusBarHelp = 118,  // pane i of the status bar is StatusBarHelp + i
    ColourPaneHelp = StatusBarHelp + ColourTextPane,
    CoordsPaneHelp = StatusBarHelp + CoordsPane,
};

// The chrome is the zoom view's host: it leaves the view its room and follows
// its layout and zoom.
class WindowChrome final : public ViewHost {
public:
    WindowChrome() = default;
    WindowChrome(const WindowChrome&) = delete;
    WindowChrome& operator=(const WindowChrome&) = delete;

    // Makes the tooltip control and the bars of the window, for its DPI, with
    // the buttons' checks and the bars' visibility from the settings and the
    // zoom trackbar at the zoom factor.
    void create(HWND window, int zoomFactor);
    // Builds the bars again for another DPI; false (nothing done) for a DPI
    // out of range or the one already built for.
    bool rebuildForDpi(int dpi, int zoomFactor);
    // The DPI the chrome is built for (its other tool windows follow it).
    int dpi() const { return dpi_; }

    // The client area less the bars that are shown.
    RECT viewRect() const override;
    // The bars follow the view laid out anew in this rectangle.
    void viewLaidOut(const RECT& view) override;
    // The zoom trackbar and its tip follow the zoom factor.
    void zoomChanged(int factor) override;
    // The panes' widths for the window's width and font.
    void setStatusParts();

    // What the bars show
    void setButtonCheck(UINT command, bool checked);
    void showToolBand(bool shown);
    // True when the status bar was shown before.
    bool showStatusBar(bool shown);
    void showUpdateRate(int rate);
    void showMenuHelp(const char* text) const { statusBar_.setMenuHelp(text); }
    // Redraws the status bar's panes (their texts take a new form).
    void redrawStatusBar() const { InvalidateRect(statusBar_, nullptr, FALSE); }
    // The readouts in the status bar: the mouse position (screen or client
    // coordinates, as the readouts chose) in the coordinate pane, and the
    // colour under the mouse in the colour pane and the swatch. A value the
    // bar shows already is not sent again.
    void showCoordinates(POINT shown);
    void showColour(COLORREF colour);

    // Messages of the bars
    // WM_DRAWITEM: the swatch in the colour shown, and the link.
    LRESULT OnDrawItem(const DRAWITEMSTRUCT* item) const;
    LRESULT OnNotify(const NMHDR* header) const;
    void OnMenuSelect(WPARAM wParam, LPARAM lParam) const;
    // The hand over the link pane; false where the bars set no cursor.
    bool OnSetCursor() const;
    bool isZoomTrackbar(HWND sender) const { return sender && sender == zoomTrackbar_; }
    bool isRateTrackbar(HWND sender) const { return sender && sender == rateTrackbar_; }
    // The help id of the bar, pane, trackbar or button at a screen point.
    bool areaHelpId(POINT screenPoint, DWORD& id) const;

    // The controls, as they are now
    const Toolbar& toolbar() const { return toolbar_; }
    const Rebar& rebar() const { return rebar_; }
    const Trackbar& zoomTrackbar() const { return zoomTrackbar_; }
    const Trackbar& rateTrackbar() const { return rateTrackbar_; }
    const StatusBar& statusBar() const { return statusBar_; }
    TooltipControl& tooltips() { return tooltips_; }
    const TooltipControl& tooltips() const { return tooltips_; }
    bool hasRebar() const { return hasRebar_; }
    int rebarHeight() const { return rebarHeight_; }
    int statusHeight() const { return statusHeight_; }

private:
    // The font, tool band, trackbars and status bar for the DPI.
    void build(int zoomFactor);
    void createToolBand();
    void createTrackbars(int zoomFactor);
    void createStatusBar();
    void addTrackbarTooltips(int zoomFactor);
    void addPaneTooltips();
    void refreshPaneTooltips();
    void forgetColourShown();

    HWND window = nullptr;
    bool hasRebar_ = false;
    int rebarHeight_ = 0;
    Toolbar toolbar_;
    Rebar rebar_;
    Trackbar zoomTrackbar_;
    Trackbar rateTrackbar_;
    int statusHeight_ = 0;
    StatusBar statusBar_;
    // What the status bar shows of the readouts: the coordinate text last
    // sent, the colour of the colour pane and the swatch, and whether the link
    // pane is owner-drawn yet.
    char coordsShown[64] = "";
    COLORREF colourShown = 0;
    bool linkOwnerDrawn = false;
    TooltipControl tooltips_;
    // DPI of the monitor the window is on, and the chrome's font for it when
    // that is not the system's (null: the stock GUI font).
    int dpi_ = 96;
    OwnedFont chromeFont;
};

// A window that is shown and whose rectangle holds the screen point (a hidden
// bar still lies where it was, and counts as absent).
bool PointInWindow(HWND window, POINT screenPoint);

// The common-controls library whose version decides between a rebar and a bare
// toolbar. Only tests point it elsewhere, to play an older library.
extern const char* commonControlsLibrary;

HRESULT getCommonControlsVersion(DWORD* major, DWORD* minor);

// Name of an update rate (1 None, 2 Slow, 3 Medium, 4 Fast).
const char* updateRateName(int rate);

// A toolbar button's tooltip text, asked for with TTN_NEEDTEXTA or W.
void fillToolbarTip(NMHDR* header);

// A click on the status bar: the link pane opens the maker's web page.
void openClickedLink(const NMMOUSE& click);
