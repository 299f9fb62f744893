// The one object behind the main window: the geometry of the zoom view, the
// child controls, the selection state, and the handling of every message.
// Its operations are spread over the files of this folder by subject.
#pragma once
#include <windows.h>

#include "app/owned_handle.h"
#include "magnifier/controls.h"
#include "magnifier/rendering.h"
#include "magnifier/screen_source.h"
#include "magnifier/tooltip_control.h"
#include "overlays/drag_highlight.h"
#include "overlays/marquee.h"
#include "overlays/tracking_tooltip.h"

// Timers of the main window.
enum : UINT_PTR { AutoUpdateTimer = 1, ReadoutTimer = 2 };
constexpr UINT ReadoutPeriod = 100;  // ms

// Control identifiers.
enum : int { RebarId = 1, StatusBarId = 3, ToolbarId = 115 };

// Status-bar panes.
enum : int { MenuHelpPane = 0, ColourTextPane = 1, SwatchPane = 2, CoordsPane = 3, LinkPane = 4, PaneCount = 5 };

class MagnifierWindow {
public:
    MagnifierWindow();
    ~MagnifierWindow();

    MagnifierWindow(const MagnifierWindow&) = delete;
    MagnifierWindow& operator=(const MagnifierWindow&) = delete;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Zoom geometry
    RECT viewRect() const;
    void layoutView();
    POINT clampZoomPoint() const;
    void computeHighlightRect();
    void moveZoomPoint(int dx, int dy);
    void setZoomFactor(int factor);
    void zoomToSelection();

    // View rendering
    // Paints the view; wholeView when the context reaches all of it (not a
    // paint clipped to an update region).
    void paintView(HDC windowDC, bool wholeView = false);
    // The screen rectangle the view shows.
    RECT sourceArea() const;
    // Reads the screen for the auto-update: true when the view on the window
    // is still the picture it would paint.
    bool viewUnchanged();
    void repaintView();

    // Window chrome
    bool createControls();
    void setStatusParts();
    void addControlTooltips();
    void applyAlwaysOnTop();
    void syncGridButton();
    void syncFollowButton();
    void applyToolbarVisibility();
    void applyStatusbarVisibility();
    LRESULT OnDrawItem(const DRAWITEMSTRUCT* item);
    LRESULT OnNotify(const NMHDR* header);
    void OnMenuSelect(WPARAM wParam, LPARAM lParam);
    bool OnSetCursor();

    // Live readouts and update rate
    LRESULT OnTimer(UINT_PTR timerId);
    LRESULT OnHScroll(WPARAM wParam, HWND sender);
    void setUpdateRate(int rate, bool force);

    // Placement
    void keepOnScreen();

    // Commands and keys
    bool OnCommand(UINT command);
    void runOptions();
    void OnKeyDown(UINT virtualKey);

    // Selection and the mouse modes
    void SelectionRect(RECT& rect) const;
    void UpdateSelectionFeedback();
    void CancelSelection();
    void EndPointPick();
    void OnMouseMove(POINT client);
    void OnLButtonDown();
    void OnLButtonUp();
    void OnRButtonDown(POINT client);
    void OnRButtonUp(POINT client);

    // Context menus and context help of the window's areas
    bool ContextHelpIdAt(POINT screenPoint, DWORD& id) const;
    bool ShowContextMenu(POINT screenPoint);
    static bool PointInWindow(HWND window, POINT screenPoint);
    static void NormalizeRect(RECT& rect);

    // Wheel and panning
    void OnMouseWheel(WPARAM wParam);
    void OnMiddleButtonDown(int x, int y);
    void OnPanningEnd();

    // Image output: capture, clipboard, hotkeys, Save (image_output.cpp)
    OwnedBitmap CaptureImage(bool zoomed, bool selectionOnly);
    void CopyColourText();
    void OnHotkey(WPARAM id);
    void SaveImageAs(bool selectionOnly);
    int ShowImageError(UINT id);

    HWND hwnd;
    int viewRows;
    int viewCols;
    int halfRows;
    int halfCols;
    RECT highlightRect;
    int maxPointX;
    int maxPointY;
    bool pickingPoint;
    POINT zoomPoint;
    COLORREF lastColour;
    bool hasSelection;
    bool selecting;
    POINT selectionStart;
    POINT selectionEnd;
    TrackingToolTip trackingTip;
    Marquee marquee;
    DragHighlight highlight;
    TooltipControl tooltips;
    OwnedPalette palette;
    OwnedRegion viewRegion;
    HCURSOR viewCursor;
    bool hasRebar;
    int rebarHeight;
    Toolbar toolbar;
    Rebar rebar;
    Trackbar zoomTrackbar;
    Trackbar rateTrackbar;
    int statusHeight;
    StatusBar statusBar;
    bool viewEmpty;
    // DPI of the monitor the window is on, and the chrome's font for it when
    // that is not the system's (null: the stock GUI font).
    int dpi;
    OwnedFont chromeFont;

private:
    // Screen position of the normal rectangle less the one the window
    // placement reports (see normalRectOnScreen).
    POINT placementShift;
    // The paint's off-screen buffers, kept while the window exists.
    PaintBuffers paintBuffers;
    // The screen's context for the view and the readouts, kept likewise.
    ScreenSource screen;

    void releaseDragCapture() const;
    void onActivate(WPARAM wParam, LPARAM lParam);
    void takeFocusBack();
    void onDestroy();
    void onSize(WPARAM kind, int width, int height);
    void onKillFocus(HWND gainingFocus);
    void onPaint();
    LRESULT onSysCommand(WPARAM wParam, LPARAM lParam);
    void createToolBand();
    void createTrackbars();
    void createStatusBar();
    void addTrackbarTooltips();
    void addPaneTooltips();
    void checkHelpFreshness();
    void appendSystemMenuItems();
    void setButtonCheck(UINT command, bool checked);
    void refreshPaneTooltips();
    void readoutTick();
    // Runs timer 2 while anything uses the readout tick.
    void syncReadoutTimer();
    // Whether the status bar shows the readouts (it exists and is shown).
    bool readoutsShown() const;
    // The mouse position for a tick; the cursor's shape with it when the view
    // draws the system's cursor.
    bool readCursor(POINT& position);
    // The system's current cursor for the view, as GetCursorInfo gives it.
    bool systemCursor(HCURSOR& shape);
    // The coordinate and colour texts for this mouse position.
    void showReadouts(POINT cursor, bool capturedNow);
    bool readScreenPixel(POINT at, COLORREF& colour);
    // The texts at once, for a status bar shown again.
    void refreshReadouts();
    // The colour under the mouse as the readout has it, for the colour copy.
    COLORREF colourUnderMouse();
    void onDpiChanged(int newDpi, const RECT* suggested);
    void rebuildChrome();
    // The font, tool band, trackbars and status bar for the window's DPI.
    void buildChromeControls();
    void showWhatsThis(POINT screenPoint, DWORD helpId);
    // The coordinate text last sent to the status bar, and that bar.
    char coordsShown[64] = "";
    HWND coordsShownIn = nullptr;
    // The status bar whose link pane the readouts made owner-drawn.
    HWND linkShownIn = nullptr;
    // The period timer 1 was last armed with (kept until the rate is set anew).
    UINT autoUpdatePeriod = 0;
    bool readoutTimerRuns = false;
    // Timer 1 made the view invalid, and nothing else is known to be.
    bool onlyViewInvalid = false;
    // The cursor's shape as the readout tick last read it, and when (ms).
    static constexpr DWORD CursorShapeLifetime = ReadoutPeriod + 20;
    HCURSOR cursorShape = nullptr;
    DWORD cursorShapeTime = 0;
    bool cursorShapeRead = false;
};
