// The live readouts in-process: the update rate and its timer, the trackbar
// scroll codes, and the readout tick (follow mode, coordinates, the colour
// under the mouse).
#include <windows.h>
#include <commctrl.h>

#include <string>

#include <gtest/gtest.h>

#include "base/globals.h"
#include "imaging/hotkeys.h"
#include "resources/resource_ids.h"
#include "tests/unit/test_support.h"
#include "window/magnifier_window.h"

namespace {

class Readouts : public MainWindowTest {};

// A right-drag begun in the view: a selection being dragged.
void startSelecting()
{
    const RECT v = Magnifier.view().viewRect();
    SendMessageA(Magnifier.handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(v.left + 5, v.top + 5));
}

void setPaneText(int pane, const char* text)
{
    Magnifier.chrome().statusBar().setText(pane, text);
}

// The tip the tooltip control holds for a trackbar.
std::string trackbarTip(HWND trackbar)
{
    return Magnifier.chrome().tooltips().toolText(Magnifier.chrome().tooltips().handle(),
                                                  reinterpret_cast<UINT_PTR>(trackbar));
}

std::string rateTip()
{
    return trackbarTip(Magnifier.chrome().rateTrackbar());
}

std::string zoomTip()
{
    return trackbarTip(Magnifier.chrome().zoomTrackbar());
}

LRESULT trackbarPos(const Trackbar& trackbar)
{
    return trackbar.pos();
}

// Whether timer 1 runs; it is stopped by the question and set up again.
bool autoUpdateTimerRuns()
{
    if (!KillTimer(Magnifier.handle(), AutoUpdateTimer))
        return false;
    Magnifier.setUpdateRate(Settings.Update, true);
    return true;
}

// The text the colour hotkey puts on the clipboard.
std::string copiedColour()
{
    SendMessageA(Magnifier.handle(), WM_HOTKEY, ColourHotkeyId, 0);
    std::string text;
    if (OpenClipboard(nullptr)) {
        HGLOBAL data = GetClipboardData(CF_TEXT);
        if (const char* copied = data ? static_cast<const char*>(GlobalLock(data)) : nullptr) {
            text = copied;
            GlobalUnlock(data);
        }
        CloseClipboard();
    }
    return text;
}

// Handles messages for the given time and counts the ticks of timer 1.
int countAutoUpdateTicks(DWORD milliseconds)
{
    int ticks = 0;
    const DWORD start = GetTickCount();
    MSG msg;
    for (;;) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_TIMER && msg.hwnd == Magnifier.handle() && msg.wParam == AutoUpdateTimer)
                ++ticks;
            DispatchMessageA(&msg);
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds)
            return ticks;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
    }
}

LRESULT scroll(WORD code, WORD position, HWND sender)
{
    return SendMessageA(Magnifier.handle(), WM_HSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(sender));
}

// A borderless top-level window of one colour, for the mouse to rest on.
class ColourPatch {
public:
    ColourPatch(COLORREF colour, int x, int y, int w = 60, int h = 60)
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = proc;
        wc.hInstance = AppInstance;
        wc.lpszClassName = "ScopellaTestPatch";
        RegisterClassA(&wc);
        brush = CreateSolidBrush(colour);
        window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "ScopellaTestPatch", nullptr,
                                 WS_POPUP, x, y, w, h, nullptr, nullptr, AppInstance, nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(brush));
        ShowWindow(window, SW_SHOWNOACTIVATE);
        UpdateWindow(window);
        pumpMessages(50);
    }
    ~ColourPatch()
    {
        DestroyWindow(window);
        DeleteObject(brush);
        UnregisterClassA("ScopellaTestPatch", AppInstance);
    }
    void setColour(COLORREF colour)
    {
        HBRUSH old = brush;
        brush = CreateSolidBrush(colour);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(brush));
        DeleteObject(old);
        InvalidateRect(window, nullptr, TRUE);
        UpdateWindow(window);
        pumpMessages(30);
    }
    // Puts the mouse on the patch, at (dx, dy) of its client area.
    POINT pointAt(int dx, int dy) const
    {
        POINT p = {dx, dy};
        ClientToScreen(window, &p);
        SetCursorPos(p.x, p.y);
        return p;
    }
    HWND window;

private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_ERASEBKGND) {
            RECT r;
            GetClientRect(hwnd, &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r,
                     reinterpret_cast<HBRUSH>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)));
            return 1;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    HBRUSH brush;
};

void readoutTick()
{
    SendMessageA(Magnifier.handle(), WM_TIMER, ReadoutTimer, 0);
}

}  // namespace

// --- Update rate --------------------------------------------------------------------

TEST_F(Readouts, RateIsClampedAndTheTrackbarAndTipFollow)
{
    ASSERT_EQ(1, Settings.Update);
    EXPECT_EQ("Auto Update - None", rateTip());
    Magnifier.setUpdateRate(7, false);
    EXPECT_EQ(4, Settings.Update);
    EXPECT_EQ(4, trackbarPos(Magnifier.chrome().rateTrackbar()));
    EXPECT_EQ("Auto Update - Fast", rateTip());
    Magnifier.setUpdateRate(3, false);
    EXPECT_EQ(3, trackbarPos(Magnifier.chrome().rateTrackbar()));
    EXPECT_EQ("Auto Update - Medium", rateTip());
    Magnifier.setUpdateRate(2, false);
    EXPECT_EQ("Auto Update - Slow", rateTip());
    Magnifier.setUpdateRate(0, false);
    EXPECT_EQ(1, Settings.Update);
    EXPECT_EQ(1, trackbarPos(Magnifier.chrome().rateTrackbar()));
    EXPECT_EQ("Auto Update - None", rateTip());
    Magnifier.setUpdateRate(-40, false);
    EXPECT_EQ(1, Settings.Update);
}

TEST_F(Readouts, AutoUpdateTimerRunsExactlyAtSlowMediumAndFast)
{
    EXPECT_FALSE(autoUpdateTimerRuns());  // None from the start
    for (int rate : {2, 3, 4, 1, 4, 2, 1}) {
        Magnifier.setUpdateRate(rate, false);
        ASSERT_EQ(rate, Settings.Update);
        EXPECT_EQ(rate >= 2, autoUpdateTimerRuns()) << "rate " << rate;
    }
}

TEST_F(Readouts, AutoUpdateTimerHasThePeriodOfItsRate)
{
    Settings.Update1 = 1000;
    Settings.Update2 = 100;
    Settings.Update3 = 40;
    // Generous bounds: they only tell the rates apart.
    Magnifier.setUpdateRate(4, false);
    const int fast = countAutoUpdateTicks(1000);
    EXPECT_GE(fast, 12);
    EXPECT_LE(fast, 30);
    Magnifier.setUpdateRate(3, false);
    const int medium = countAutoUpdateTicks(1000);
    EXPECT_GE(medium, 5);
    EXPECT_LE(medium, 12);
    EXPECT_LT(medium, fast);
    // Re-arming replaces the period: Slow has no tick within 600 ms.
    Magnifier.setUpdateRate(2, false);
    EXPECT_EQ(0, countAutoUpdateTicks(600));
}

TEST_F(Readouts, SameRateWithoutForceChangesNothing)
{
    Magnifier.setUpdateRate(4, false);
    // Evidence that a second run would undo: a stopped timer, another tip
    // text, a follow button out of step with its setting.
    KillTimer(Magnifier.handle(), AutoUpdateTimer);
    Magnifier.chrome().tooltips().updateTipText(Magnifier.chrome().rateTrackbar(), "unchanged");
    Magnifier.chrome().toolbar().check(IDM_FOLLOW_MOUSE, true);

    Magnifier.setUpdateRate(4, false);
    Magnifier.setUpdateRate(9, false);  // clamped to the same rate
    EXPECT_FALSE(KillTimer(Magnifier.handle(), AutoUpdateTimer));
    EXPECT_EQ("unchanged", rateTip());
    EXPECT_TRUE(Magnifier.chrome().toolbar().checked(IDM_FOLLOW_MOUSE));

    // Forced, the same rate sets everything up again.
    Magnifier.setUpdateRate(4, true);
    EXPECT_TRUE(KillTimer(Magnifier.handle(), AutoUpdateTimer));
    EXPECT_EQ("Auto Update - Fast", rateTip());
    EXPECT_FALSE(Magnifier.chrome().toolbar().checked(IDM_FOLLOW_MOUSE));
}

TEST_F(Readouts, RateCommandsStepAndStopAtTheEnds)
{
    const int up[] = {2, 3, 4, 4};
    for (int expected : up) {
        SendMessageA(window(), WM_COMMAND, IDM_RATE_UP, 0);
        EXPECT_EQ(expected, Settings.Update);
    }
    const int down[] = {3, 2, 1, 1};
    for (int expected : down) {
        SendMessageA(window(), WM_COMMAND, IDM_RATE_DOWN, 0);
        EXPECT_EQ(expected, Settings.Update);
        EXPECT_EQ(expected, trackbarPos(Magnifier.chrome().rateTrackbar()));
    }
}

// --- Trackbar scrolling -------------------------------------------------------------

TEST_F(Readouts, ZoomTrackbarScrollCodes)
{
    struct Case {
        WORD code;
        WORD position;
        int expected;
    } cases[] = {
        {TB_LINEUP, 0, 9},          {TB_LINEDOWN, 0, 11},    {TB_PAGEUP, 0, 8},        {TB_PAGEDOWN, 0, 12},
        {TB_THUMBPOSITION, 20, 20}, {TB_THUMBTRACK, 5, 5},   {TB_TOP, 20, 10},         {TB_BOTTOM, 20, 10},
        {TB_ENDTRACK, 20, 10},      {TB_THUMBTRACK, 40, 32}, {TB_THUMBPOSITION, 0, 1},
    };
    for (const Case& c : cases) {
        Magnifier.view().setZoomFactor(10);
        EXPECT_EQ(0, scroll(c.code, c.position, Magnifier.chrome().zoomTrackbar()));
        EXPECT_EQ(c.expected, Settings.ZoomFactor) << "code " << c.code;
        EXPECT_EQ(c.expected, trackbarPos(Magnifier.chrome().zoomTrackbar())) << "code " << c.code;
        EXPECT_EQ("Zoom Level x" + std::to_string(c.expected), zoomTip()) << "code " << c.code;
    }
}

TEST_F(Readouts, RateTrackbarScrollCodes)
{
    struct Case {
        int from;
        WORD code;
        WORD position;
        int expected;
    } cases[] = {
        {2, TB_LINEUP, 0, 1}, {2, TB_LINEDOWN, 0, 3}, {3, TB_PAGEUP, 0, 1},        {2, TB_PAGEDOWN, 0, 4},
        {1, TB_PAGEUP, 0, 1}, {3, TB_PAGEDOWN, 0, 4}, {1, TB_THUMBPOSITION, 3, 3}, {4, TB_THUMBTRACK, 2, 2},
        {2, TB_TOP, 4, 2},    {2, TB_BOTTOM, 4, 2},   {2, TB_ENDTRACK, 4, 2},
    };
    for (const Case& c : cases) {
        Magnifier.setUpdateRate(c.from, false);
        EXPECT_EQ(0, scroll(c.code, c.position, Magnifier.chrome().rateTrackbar()));
        EXPECT_EQ(c.expected, Settings.Update) << "from " << c.from << " code " << c.code;
        EXPECT_EQ(c.expected, trackbarPos(Magnifier.chrome().rateTrackbar()))
            << "from " << c.from << " code " << c.code;
    }
}

TEST_F(Readouts, ScrollsOfOtherWindowsAreIgnored)
{
    HWND stranger =
        CreateWindowExA(0, TRACKBAR_CLASSA, nullptr, WS_CHILD, 0, 0, 50, 20, window(), nullptr, AppInstance, nullptr);
    const HWND toolbar = Magnifier.chrome().toolbar(), statusBar = Magnifier.chrome().statusBar();
    for (HWND sender : {static_cast<HWND>(nullptr), stranger, toolbar, statusBar, window()}) {
        scroll(TB_THUMBPOSITION, 20, sender);
        scroll(TB_LINEDOWN, 0, sender);
    }
    EXPECT_EQ(3, Settings.ZoomFactor);
    EXPECT_EQ(1, Settings.Update);
    DestroyWindow(stranger);
}

TEST_F(Readouts, TrackbarsOwnScrollsReachTheWindow)
{
    // Wine's trackbars keep telling the window they were created under (the
    // main window); where a trackbar tells its current parent, the toolbar,
    // the toolbar passes the message on.
    SendMessageA(Magnifier.chrome().toolbar(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 5),
                 reinterpret_cast<LPARAM>(Magnifier.chrome().zoomTrackbar().handle()));
    EXPECT_EQ(5, Settings.ZoomFactor);
    SendMessageA(Magnifier.chrome().toolbar(), WM_HSCROLL, MAKEWPARAM(TB_LINEUP, 0),
                 reinterpret_cast<LPARAM>(Magnifier.chrome().zoomTrackbar().handle()));
    EXPECT_EQ(4, Settings.ZoomFactor);
    SendMessageA(Magnifier.chrome().toolbar(), WM_HSCROLL, MAKEWPARAM(TB_LINEUP, 0), 0);
    EXPECT_EQ(4, Settings.ZoomFactor);
    Magnifier.view().setZoomFactor(3);

    // Keys on the trackbars (their own scrolls).
    SendMessageA(Magnifier.chrome().zoomTrackbar(), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(4, Settings.ZoomFactor);
    SendMessageA(Magnifier.chrome().zoomTrackbar(), WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ(6, Settings.ZoomFactor);
    EXPECT_EQ(6, trackbarPos(Magnifier.chrome().zoomTrackbar()));
    SendMessageA(Magnifier.chrome().rateTrackbar(), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(2, Settings.Update);
    EXPECT_TRUE(KillTimer(window(), AutoUpdateTimer));
}

// --- The timers' ticks ---------------------------------------------------------------

TEST_F(Readouts, AutoUpdateTickInvalidatesTheViewWhenTheScreenChangedUnlessSelecting)
{
    RECT update;
    const RECT view = Magnifier.view().viewRect();
    const POINT c = Magnifier.view().clampZoomPoint();
    ColourPatch patch(RGB(10, 20, 30), c.x - 2, c.y - 2, 4, 4);
    auto tick = [&] {
        ValidateRect(window(), nullptr);
        SendMessageA(window(), WM_TIMER, AutoUpdateTimer, 0);
        return GetUpdateRect(window(), &update, FALSE) != FALSE;
    };
    // The screen under the view changed since the last picture: the view
    // is invalidated, and the paint that follows puts the new picture up.
    ASSERT_TRUE(tick());
    EXPECT_TRUE(EqualRect(&view, &update));
    SendMessageA(window(), WM_PAINT, 0, 0);
    EXPECT_FALSE(tick());
    patch.setColour(RGB(40, 50, 60));
    EXPECT_TRUE(tick());

    Magnifier.mouse().keepSelection(POINT{0, 0}, POINT{0, 0});
    patch.setColour(RGB(70, 80, 90));
    EXPECT_FALSE(tick());
    Magnifier.mouse().CancelSelection();
    startSelecting();
    EXPECT_FALSE(tick());
    Magnifier.mouse().CancelSelection();
}

TEST_F(Readouts, MinimisedWindowIgnoresBothTimers)
{
    ColourPatch patch(RGB(255, 128, 0), 700, 600);
    ShowWindow(window(), SW_MINIMIZE);
    pumpMessages(50);
    ASSERT_TRUE(IsIconic(window()));
    Settings.MouseTracking = true;
    Magnifier.view().setZoomPoint(POINT{5, 5});
    setPaneText(CoordsPane, "before");
    patch.pointAt(10, 10);
    readoutTick();
    EXPECT_EQ(5, Magnifier.view().zoomPoint().x);
    EXPECT_EQ(0u, Magnifier.readouts().lastColour());
    EXPECT_EQ("before", paneText(CoordsPane));
    EXPECT_EQ("", paneText(ColourTextPane));

    ValidateRect(window(), nullptr);
    SendMessageA(window(), WM_TIMER, AutoUpdateTimer, 0);
    RECT update;
    EXPECT_FALSE(GetUpdateRect(window(), &update, FALSE));

    ShowWindow(window(), SW_RESTORE);
    pumpMessages(50);
    readoutTick();
    EXPECT_NE(5, Magnifier.view().zoomPoint().x);
    EXPECT_EQ(RGB(255, 128, 0), Magnifier.readouts().lastColour());
}

TEST_F(Readouts, FollowModeMovesTheZoomPointUnclampedButNotDuringASelection)
{
    ColourPatch patch(RGB(255, 128, 0), 700, 600);
    Settings.MouseTracking = true;
    Magnifier.view().setZoomPoint(POINT{300, 300});
    const POINT p = patch.pointAt(10, 20);

    Magnifier.mouse().keepSelection(POINT{0, 0}, POINT{0, 0});
    readoutTick();
    EXPECT_EQ(300, Magnifier.view().zoomPoint().x);
    EXPECT_EQ(300, Magnifier.view().zoomPoint().y);
    // The readouts go on.
    EXPECT_EQ(" " + std::to_string(p.x) + ", " + std::to_string(p.y) + " ", paneText(CoordsPane));
    EXPECT_EQ("Colour (rgb): 255,128,000 ", paneText(ColourTextPane));

    Magnifier.mouse().CancelSelection();
    startSelecting();
    readoutTick();
    EXPECT_EQ(300, Magnifier.view().zoomPoint().x);
    Magnifier.mouse().CancelSelection();
    readoutTick();
    EXPECT_EQ(p.x, Magnifier.view().zoomPoint().x);
    EXPECT_EQ(p.y, Magnifier.view().zoomPoint().y);

    // Near the corner the point is kept as it is; painting clamps it.
    SetCursorPos(1, 2);
    readoutTick();
    EXPECT_EQ(1, Magnifier.view().zoomPoint().x);
    EXPECT_EQ(2, Magnifier.view().zoomPoint().y);

    Settings.MouseTracking = false;
    patch.pointAt(30, 30);
    readoutTick();
    EXPECT_EQ(1, Magnifier.view().zoomPoint().x);
}

TEST_F(Readouts, CoordinatesInScreenOrWindowClientTerms)
{
    ColourPatch patch(RGB(0, 128, 0), 700, 600);
    const POINT p = patch.pointAt(10, 20);
    readoutTick();
    EXPECT_EQ(" " + std::to_string(p.x) + ", " + std::to_string(p.y) + " ", paneText(CoordsPane));

    SendMessageA(window(), WM_COMMAND, IDM_COORDS_CLIENT, 0);
    EXPECT_TRUE(Settings.RelativeCoords);
    readoutTick();
    EXPECT_EQ(" 10, 20 ", paneText(CoordsPane));

    // Over the main window's caption the client coordinates are negative.
    RECT frame;
    GetWindowRect(window(), &frame);
    POINT caption = {frame.left + 100, frame.top + 5};
    SetCursorPos(caption.x, caption.y);
    ASSERT_EQ(window(), WindowFromPoint(caption));
    ScreenToClient(window(), &caption);
    ASSERT_LT(caption.y, 0);
    readoutTick();
    EXPECT_EQ(" " + std::to_string(caption.x) + ", " + std::to_string(caption.y) + " ", paneText(CoordsPane));

    SendMessageA(window(), WM_COMMAND, IDM_COORDS_SCREEN, 0);
    readoutTick();
    EXPECT_EQ(" " + std::to_string(frame.left + 100) + ", " + std::to_string(frame.top + 5) + " ",
              paneText(CoordsPane));
}

TEST_F(Readouts, ColourPanesChangeOnlyWithTheColour)
{
    ColourPatch patch(RGB(255, 128, 0), 700, 600);
    patch.pointAt(10, 10);
    readoutTick();
    EXPECT_EQ(RGB(255, 128, 0), Magnifier.readouts().lastColour());
    EXPECT_EQ("Colour (rgb): 255,128,000 ", paneText(ColourTextPane));
    EXPECT_EQ("<owner-drawn>", paneText(SwatchPane));
    EXPECT_EQ("<owner-drawn>", paneText(LinkPane));

    // The same colour again: nothing is sent to the colour panes.
    setPaneText(ColourTextPane, "kept");
    setPaneText(SwatchPane, "kept");
    patch.pointAt(20, 20);
    readoutTick();
    EXPECT_EQ("kept", paneText(ColourTextPane));
    EXPECT_EQ("kept", paneText(SwatchPane));

    // Hexadecimal shows with the next change of colour.
    SendMessageA(window(), WM_COMMAND, IDM_COLOUR_HEX, 0);
    EXPECT_FALSE(Settings.DisplayRGBColourPanel);
    readoutTick();
    EXPECT_EQ("kept", paneText(ColourTextPane));
    patch.setColour(RGB(1, 2, 250));
    readoutTick();
    EXPECT_EQ("Colour: #0102fa", paneText(ColourTextPane));
    EXPECT_EQ("<owner-drawn>", paneText(SwatchPane));
    EXPECT_EQ(RGB(1, 2, 250), Magnifier.readouts().lastColour());

    SendMessageA(window(), WM_COMMAND, IDM_COLOUR_RGB, 0);
    patch.setColour(RGB(0, 0, 7));
    readoutTick();
    EXPECT_EQ("Colour (rgb): 000,000,007 ", paneText(ColourTextPane));
}

TEST_F(Readouts, BlackFromTheStartLeavesTheColourPanesEmpty)
{
    ColourPatch patch(RGB(0, 0, 0), 700, 600);
    patch.pointAt(10, 10);
    readoutTick();
    readoutTick();
    EXPECT_EQ(0u, Magnifier.readouts().lastColour());
    EXPECT_EQ("", paneText(ColourTextPane));
    EXPECT_EQ("", paneText(SwatchPane));
    EXPECT_EQ("", paneText(LinkPane));
    EXPECT_NE("", paneText(CoordsPane));
    patch.setColour(RGB(0, 0, 1));
    readoutTick();
    EXPECT_EQ("Colour (rgb): 000,000,001 ", paneText(ColourTextPane));
}

TEST_F(Readouts, TicksLeaveNoHandlesBehind)
{
    ColourPatch patch(RGB(10, 20, 30), 700, 600);
    patch.pointAt(10, 10);
    Settings.MouseTracking = true;
    Settings.RelativeCoords = true;
    for (int i = 0; i < 3; ++i)
        readoutTick();
    pumpMessages(30);
    const DWORD before = liveGdiObjects();
    ASSERT_GT(before, 0u);
    for (int i = 0; i < 200; ++i) {
        // A new colour and a new position every tick: every path runs.
        if (i % 20 == 0)
            patch.setColour(RGB(i, 255 - i, 7));
        patch.pointAt(5 + i % 40, 5 + i % 30);
        readoutTick();
        SendMessageA(window(), WM_TIMER, AutoUpdateTimer, 0);
        UpdateWindow(Magnifier.chrome().statusBar());
        UpdateWindow(window());
    }
    pumpMessages(30);
    EXPECT_EQ(before, liveGdiObjects());
}

TEST_F(Readouts, ColourIsTheScreenPixelOfThisTickWhateverElseStays)
{
    ColourPatch a(RGB(200, 0, 0), 700, 600), b(RGB(0, 200, 0), 800, 600);
    // The same client coordinates over another window: only the colour changes.
    Settings.RelativeCoords = true;
    a.pointAt(10, 10);
    readoutTick();
    EXPECT_EQ(" 10, 10 ", paneText(CoordsPane));
    b.pointAt(10, 10);
    readoutTick();
    EXPECT_EQ(" 10, 10 ", paneText(CoordsPane));
    EXPECT_EQ("Colour (rgb): 000,200,000 ", paneText(ColourTextPane));

    // Follow mode: a tick that moves the view reads the colour with it; a
    // still tick reads the screen again, not the earlier picture.
    Settings.MouseTracking = true;
    const POINT p = a.pointAt(20, 20);
    readoutTick();
    EXPECT_EQ(p.x, Magnifier.view().zoomPoint().x);
    EXPECT_EQ("Colour (rgb): 200,000,000 ", paneText(ColourTextPane));
    a.setColour(RGB(0, 0, 9));
    readoutTick();
    EXPECT_EQ("Colour (rgb): 000,000,009 ", paneText(ColourTextPane));
    a.setColour(RGB(7, 7, 7));
    a.pointAt(21, 20);
    readoutTick();
    EXPECT_EQ(p.x + 1, Magnifier.view().zoomPoint().x);
    EXPECT_EQ("Colour (rgb): 007,007,007 ", paneText(ColourTextPane));
    EXPECT_EQ(RGB(7, 7, 7), Magnifier.readouts().lastColour());
}

TEST_F(Readouts, FollowRepaintRestartsTheAutoUpdateTimerAtItsArmedPeriod)
{
    ColourPatch patch(RGB(9, 9, 9), 700, 600);
    Settings.MouseTracking = true;
    patch.pointAt(10, 10);
    readoutTick();
    EXPECT_FALSE(autoUpdateTimerRuns());  // rate None: no timer comes of it

    Settings.Update3 = 40;
    Magnifier.setUpdateRate(4, false);
    Settings.Update3 = 1000;  // as the Options dialog does: the running timer keeps 40 ms
    patch.pointAt(20, 10);
    readoutTick();
    EXPECT_GE(countAutoUpdateTicks(1000), 12);
}

TEST_F(Readouts, StatusBarShownAgainHasTheCurrentValuesAndTheCopyTheCurrentColour)
{
    ColourPatch a(RGB(200, 0, 0), 700, 600), b(RGB(0, 0, 200), 800, 600);
    a.pointAt(10, 10);
    readoutTick();
    SendMessageA(window(), WM_COMMAND, IDM_TOGGLE_STATUSBAR, 0);
    ASSERT_FALSE(IsWindowVisible(Magnifier.chrome().statusBar()));

    // With the bar hidden the colour copy still has the colour under the mouse.
    const POINT p = b.pointAt(20, 30);
    EXPECT_EQ("0,0,200", copiedColour());

    // Shown again, the bar has the values under the mouse before any tick.
    SendMessageA(window(), WM_COMMAND, IDM_TOGGLE_STATUSBAR, 0);
    EXPECT_EQ(" " + std::to_string(p.x) + ", " + std::to_string(p.y) + " ", paneText(CoordsPane));
    EXPECT_EQ("Colour (rgb): 000,000,200 ", paneText(ColourTextPane));
}

TEST_F(Readouts, ColourCopiedBeforeTheFirstTickAfterADpiChangeIsTheColourUnderTheMouse)
{
    // The status bar built anew for another DPI shows no colour until the
    // next tick; the colour the readouts read is still the one a copy takes.
    ColourPatch patch(RGB(255, 128, 0), 700, 600);
    patch.pointAt(10, 10);
    readoutTick();
    RECT r;
    GetWindowRect(window(), &r);
    SendMessageA(window(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&r));
    ASSERT_EQ("", paneText(ColourTextPane));
    EXPECT_EQ("255,128,0", copiedColour());
    readoutTick();
    EXPECT_EQ("Colour (rgb): 255,128,000 ", paneText(ColourTextPane));
}
