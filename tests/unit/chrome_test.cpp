// The window chrome in-process: the tool band with and without a rebar, the
// common-controls version query, the status-bar pane widths and their tips,
// and the notifications the controls send (tooltip texts, menu prompts,
// owner-drawn panes, the hand cursor over the link).
#include <windows.h>
#include <commctrl.h>

#include <string>

#include <gtest/gtest.h>

#include "base/globals.h"
#include "base/owned_handle.h"
#include "chrome/chrome.h"
#include "resources/resource_ids.h"
#include "tests/unit/test_support.h"
#include "window/magnifier_window.h"

namespace {

// A Windows path of one of the test programs' files (TOOLS_DIR may be a Unix
// path, which Wine reaches through drive Z:).
std::string toolPath(const char* file)
{
    std::string path = TOOLS_DIR;
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
    path += "/";
    path += file;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}

// Plays the common-controls library of the given test file (a full path) for
// the window created by the fixture, and puts the real one back afterwards.
class WithCommonControls : public MainWindowTest {
protected:
    explicit WithCommonControls(const char* file) : library(toolPath(file)) {}
    void prepareRegistry() override { commonControlsLibrary = library.c_str(); }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        commonControlsLibrary = "comctl32.dll";
    }
    std::string library;
};

class CommonControls470 : public WithCommonControls {
protected:
    CommonControls470() : WithCommonControls("comctl_470.dll") {}
};
class CommonControlsWithoutVersion : public WithCommonControls {
protected:
    CommonControlsWithoutVersion() : WithCommonControls("comctl_none.dll") {}
};
class CommonControlsFailingVersion : public WithCommonControls {
protected:
    CommonControlsFailingVersion() : WithCommonControls("comctl_failing.dll") {}
};
class CommonControls471 : public WithCommonControls {
protected:
    CommonControls471() : WithCommonControls("comctl_471.dll") {}
};

class Chrome : public MainWindowTest {};

// The thumb length a trackbar of the same style and size gets by default.
LRESULT defaultThumbLength(HWND trackbar)
{
    RECT r;
    GetWindowRect(trackbar, &r);
    const OwnedWindow reference(CreateWindowExA(
        0, TRACKBAR_CLASSA, nullptr, static_cast<DWORD>(GetWindowLongPtrA(trackbar, GWL_STYLE)) & ~WS_VISIBLE, 0, 0,
        r.right - r.left, r.bottom - r.top, GetParent(trackbar), nullptr, AppInstance, nullptr));
    return Trackbar(reference).thumbLength();
}

void expectBareToolbar()
{
    EXPECT_FALSE(Magnifier.chrome().hasRebar());
    ASSERT_NE(nullptr, Magnifier.chrome().toolbar());
    EXPECT_EQ(Magnifier.chrome().toolbar(), Magnifier.chrome().rebar());
    EXPECT_EQ(Magnifier.handle(), GetParent(Magnifier.chrome().toolbar()));
    EXPECT_TRUE(GetWindowLongPtrA(Magnifier.chrome().toolbar(), GWL_STYLE) & WS_BORDER);
    EXPECT_EQ(nullptr, FindWindowExA(Magnifier.handle(), nullptr, REBARCLASSNAMEA, nullptr));
    // The trackbars still sit on the toolbar, with thumbs 2 pixels shorter.
    EXPECT_EQ(Magnifier.chrome().toolbar(), GetParent(Magnifier.chrome().zoomTrackbar()));
    EXPECT_EQ(Magnifier.chrome().toolbar(), GetParent(Magnifier.chrome().rateTrackbar()));
    EXPECT_EQ(defaultThumbLength(Magnifier.chrome().zoomTrackbar()) - 2,
              Magnifier.chrome().zoomTrackbar().thumbLength());
    EXPECT_EQ(defaultThumbLength(Magnifier.chrome().zoomTrackbar()) - 2,
              Magnifier.chrome().rateTrackbar().thumbLength());
    // The tool band's height is measured from the toolbar itself.
    RECT r;
    GetWindowRect(Magnifier.chrome().toolbar(), &r);
    EXPECT_EQ(r.bottom - r.top - 2, Magnifier.chrome().rebarHeight());
}

void expectRebarWithOneBand()
{
    EXPECT_TRUE(Magnifier.chrome().hasRebar());
    ASSERT_NE(nullptr, Magnifier.chrome().rebar());
    EXPECT_NE(Magnifier.chrome().toolbar(), Magnifier.chrome().rebar());
    EXPECT_EQ(Magnifier.handle(), GetParent(Magnifier.chrome().rebar()));
    EXPECT_EQ(RebarId, GetDlgCtrlID(Magnifier.chrome().rebar()));
    EXPECT_EQ(Magnifier.chrome().rebar(), GetParent(Magnifier.chrome().toolbar()));
    EXPECT_EQ(ToolbarId, GetDlgCtrlID(Magnifier.chrome().toolbar()));
    EXPECT_FALSE(GetWindowLongPtrA(Magnifier.chrome().toolbar(), GWL_STYLE) & WS_BORDER);
    EXPECT_EQ(1, Magnifier.chrome().rebar().bandCount());
    REBARBANDINFOA band = {};
    band.cbSize = REBARBANDINFOA_V6_SIZE;
    band.fMask = RBBIM_CHILD | RBBIM_STYLE | RBBIM_CHILDSIZE;
    ASSERT_TRUE(Magnifier.chrome().rebar().band(0, band));
    EXPECT_EQ(Magnifier.chrome().toolbar(), band.hwndChild);
    EXPECT_EQ(static_cast<UINT>(RBBS_CHILDEDGE | RBBS_TOPALIGN), band.fStyle & (RBBS_CHILDEDGE | RBBS_TOPALIGN));
    EXPECT_EQ(21u, band.cyMinChild);
    EXPECT_EQ(defaultThumbLength(Magnifier.chrome().zoomTrackbar()), Magnifier.chrome().zoomTrackbar().thumbLength());
    RECT r;
    GetWindowRect(Magnifier.chrome().rebar(), &r);
    EXPECT_EQ(r.bottom - r.top - 2, Magnifier.chrome().rebarHeight());
}

int textWidth(const char* text)
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size.cx;
}

// The text of a tooltip tool, read in full (the ANSI message stops at 80).
std::string toolText(HWND owner, UINT_PTR id, UINT flags = 0)
{
    return Magnifier.chrome().tooltips().toolText(owner, id, flags);
}

RECT toolRect(HWND owner, UINT_PTR id)
{
    return Magnifier.chrome().tooltips().toolRect(owner, id);
}

void resizeClient(int width, int height)
{
    RECT r = {0, 0, width, height};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrA(Magnifier.handle(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(Magnifier.handle(), GWL_EXSTYLE)));
    SetWindowPos(Magnifier.handle(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
    pumpMessages(30);
    RECT client;
    GetClientRect(Magnifier.handle(), &client);
    ASSERT_EQ(width, client.right);
}

}  // namespace

// --- The common-controls version and the tool band ---------------------------

TEST(CommonControlsVersion, RejectsMissingOutputs)
{
    DWORD major = 77, minor = 77;
    EXPECT_EQ(E_INVALIDARG, getCommonControlsVersion(nullptr, &minor));
    EXPECT_EQ(E_INVALIDARG, getCommonControlsVersion(&major, nullptr));
    EXPECT_EQ(E_INVALIDARG, getCommonControlsVersion(nullptr, nullptr));
    EXPECT_EQ(77u, major);
    EXPECT_EQ(77u, minor);
}

TEST(CommonControlsVersion, ReportsWhatTheLibrarySays)
{
    struct Case {
        const char* file;
        DWORD major, minor;
    } cases[] = {{"comctl_470.dll", 4, 70}, {"comctl_471.dll", 4, 71}, {"comctl_none.dll", 4, 0}};
    for (const Case& c : cases) {
        const std::string path = toolPath(c.file);
        commonControlsLibrary = path.c_str();
        DWORD major = 0, minor = 0;
        EXPECT_EQ(S_OK, getCommonControlsVersion(&major, &minor)) << c.file;
        EXPECT_EQ(c.major, major) << c.file;
        EXPECT_EQ(c.minor, minor) << c.file;
    }
    commonControlsLibrary = "comctl32.dll";
    DWORD major = 0, minor = 0;
    ASSERT_EQ(S_OK, getCommonControlsVersion(&major, &minor));
    EXPECT_TRUE(major > 4 || (major == 4 && minor >= 71)) << major << "." << minor;
}

TEST(CommonControlsVersion, FailuresLeaveTheOutputsAlone)
{
    DWORD major = 77, minor = 77;
    const std::string missing = toolPath("no_such_comctl.dll");
    commonControlsLibrary = missing.c_str();
    EXPECT_EQ(E_FAIL, getCommonControlsVersion(&major, &minor));
    // A DllGetVersion that fails is reported as E_FAIL, whatever it returned.
    const std::string failing = toolPath("comctl_failing.dll");
    commonControlsLibrary = failing.c_str();
    EXPECT_EQ(E_FAIL, getCommonControlsVersion(&major, &minor));
    commonControlsLibrary = "comctl32.dll";
    EXPECT_EQ(77u, major);
    EXPECT_EQ(77u, minor);
    // The library is not kept loaded after the query.
    EXPECT_EQ(nullptr, GetModuleHandleA(failing.c_str()));
}

TEST_F(CommonControls470, ToolbarSitsOnTheWindowWithoutRebar)
{
    expectBareToolbar();
}

TEST_F(CommonControlsWithoutVersion, ToolbarSitsOnTheWindowWithoutRebar)
{
    expectBareToolbar();
}

TEST_F(CommonControlsFailingVersion, ToolbarSitsOnTheWindowWithoutRebar)
{
    expectBareToolbar();
}

TEST_F(CommonControls471, RebarHoldsTheToolbarInOneBand)
{
    expectRebarWithOneBand();
}

TEST_F(Chrome, CurrentCommonControlsGiveTheRebar)
{
    expectRebarWithOneBand();
}

TEST_F(CommonControls470, BareToolbarIsShownHiddenAndSizedAsTheToolBand)
{
    RECT client, bar;
    GetClientRect(window(), &client);
    GetWindowRect(Magnifier.chrome().toolbar(), &bar);
    EXPECT_GE(bar.right - bar.left, client.right);
    EXPECT_EQ(Magnifier.chrome().rebarHeight(), Magnifier.view().viewRect().top);
    SendMessageA(window(), WM_COMMAND, IDM_TOGGLE_TOOLBAR, 0);
    EXPECT_FALSE(IsWindowVisible(Magnifier.chrome().toolbar()));
    EXPECT_EQ(0, Magnifier.view().viewRect().top);
    SendMessageA(window(), WM_COMMAND, IDM_TOGGLE_TOOLBAR, 0);
    EXPECT_TRUE(IsWindowVisible(Magnifier.chrome().toolbar()));
    EXPECT_EQ(Magnifier.chrome().rebarHeight(), Magnifier.view().viewRect().top);
}

// --- Status-bar panes -----------------------------------------------------------

TEST_F(Chrome, PaneWidthsComeFromTheDefaultGuiFont)
{
    const int w0 = textWidth("Press F1 for help") + 6;
    const int w1 = textWidth("Colour (rgb): 000,000,000 ") + 6;
    const int w2 = 31;
    const int w3 = textWidth(" 99999,99999 ") + 6;
    const int w4 = textWidth("www.brindle.example") + 12;

    for (int width : {300, 450, 900}) {
        resizeClient(width, 250);
        int edges[8] = {};
        ASSERT_EQ(5, Magnifier.chrome().statusBar().parts(8, edges));
        const RECT v = Magnifier.view().viewRect();
        const int avail = (v.right - v.left) - Magnifier.chrome().statusHeight();
        const int others = w1 + w2 + w3 + w4;
        // Pane 0 takes the room left when everything fits, else keeps its text width.
        const int first = avail + 3 > w0 + others ? avail + 3 - others : w0;
        EXPECT_EQ(first, edges[0]) << width;
        EXPECT_EQ(first + w1, edges[1]) << width;
        EXPECT_EQ(first + w1 + w2, edges[2]) << width;
        EXPECT_EQ(first + w1 + w2 + w3, edges[3]) << width;
        EXPECT_EQ(first + others, edges[4]) << width;
        if (width == 900)
            EXPECT_EQ(avail + 3, edges[4]);
        else
            EXPECT_EQ(w0, edges[0]);

        // The pane tips cover the panes as they are now.
        for (int pane = 1; pane <= 4; ++pane) {
            RECT r = {};
            Magnifier.chrome().statusBar().paneRect(pane, r);
            const RECT tip = toolRect(Magnifier.chrome().statusBar(), pane);
            EXPECT_TRUE(EqualRect(&r, &tip)) << "pane " << pane << " at width " << width;
        }
    }
}

TEST_F(Chrome, StatusBarHasTheHelpTextAndTheGuiFont)
{
    // Pane 0 is drawn without borders and says where help is.
    EXPECT_EQ("Press F1 for help", paneText(0));
    EXPECT_EQ(SBT_NOBORDERS, Magnifier.chrome().statusBar().textFlags(0));
    EXPECT_EQ(StatusBarId, GetDlgCtrlID(Magnifier.chrome().statusBar()));
    RECT r;
    GetWindowRect(Magnifier.chrome().statusBar(), &r);
    EXPECT_EQ(r.bottom - r.top, Magnifier.chrome().statusHeight());
    HFONT font = Magnifier.chrome().statusBar().font();
    EXPECT_EQ(GetStockObject(DEFAULT_GUI_FONT), font);
}

TEST_F(Chrome, ControlTipsNameTheirControls)
{
    EXPECT_EQ("Zoom Level x3",
              toolText(Magnifier.chrome().tooltips().handle(),
                       reinterpret_cast<UINT_PTR>(Magnifier.chrome().zoomTrackbar().handle()), TTF_IDISHWND));
    EXPECT_EQ("Auto Update - None",
              toolText(Magnifier.chrome().tooltips().handle(),
                       reinterpret_cast<UINT_PTR>(Magnifier.chrome().rateTrackbar().handle()), TTF_IDISHWND));
    EXPECT_EQ("Shows the color under the mouse cursor. Right click to toggle between hexadecimal and RGB format.",
              toolText(Magnifier.chrome().statusBar(), 1));
    EXPECT_EQ("The color under the mouse cursor.", toolText(Magnifier.chrome().statusBar(), 2));
    EXPECT_EQ(
        "The current mouse coordinates. Right click to switch between screen coordinates and window "
        "coordinates.",
        toolText(Magnifier.chrome().statusBar(), 3));
    EXPECT_EQ("A link to Brindle. Click it to see more cool developer tools.",
              toolText(Magnifier.chrome().statusBar(), 4));
}

// --- Notifications ------------------------------------------------------------------

namespace {

std::string neededTextA(UINT_PTR command)
{
    NMTTDISPINFOA info = {};
    info.hdr.hwndFrom = Magnifier.chrome().tooltips().handle();
    info.hdr.idFrom = command;
    info.hdr.code = TTN_NEEDTEXTA;
    memset(info.szText, 'x', sizeof(info.szText));  // no terminator unless one is written
    EXPECT_EQ(0, SendMessageA(Magnifier.handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(info.szText, info.lpszText);
    EXPECT_NE(nullptr, memchr(info.szText, 0, sizeof(info.szText)));
    return std::string(info.szText, strnlen(info.szText, sizeof(info.szText)));
}

std::string neededTextW(UINT_PTR command)
{
    NMTTDISPINFOW info = {};
    info.hdr.hwndFrom = Magnifier.chrome().tooltips().handle();
    info.hdr.idFrom = command;
    info.hdr.code = TTN_NEEDTEXTW;
    EXPECT_EQ(0, SendMessageA(Magnifier.handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(info.szText, info.lpszText);
    char narrow[200] = "";
    WideCharToMultiByte(CP_ACP, 0, info.szText, -1, narrow, sizeof(narrow), nullptr, nullptr);
    return narrow;
}

}  // namespace

TEST_F(Chrome, ButtonTipIsTheCommandTextUpToItsLineFeed)
{
    EXPECT_EQ("Displays the options dialog (Ctrl+O).", neededTextA(IDM_OPTIONS));
    EXPECT_EQ("Follow the mouse (Ctrl-M)", neededTextA(IDM_FOLLOW_MOUSE));
    EXPECT_EQ("Toggle always on top state (Ctrl+T)", neededTextA(IDM_ALWAYS_ON_TOP));
    // Texts without a line feed are shown whole.
    EXPECT_EQ("Save Image As (Ctrl+S)", neededTextA(IDM_SAVE_IMAGE));
    EXPECT_EQ("Copy zoomed image to clipboard (Ctrl+C)", neededTextA(IDM_COPY_ZOOMED));
    // The wide request gets the same texts.
    EXPECT_EQ("Displays the options dialog (Ctrl+O).", neededTextW(IDM_OPTIONS));
    EXPECT_EQ("Save Image As (Ctrl+S)", neededTextW(IDM_SAVE_IMAGE));
}

TEST_F(Chrome, ButtonTipIsCutToTheBufferAndEmptyWithoutAString)
{
    // A text longer than the 80-character buffer keeps its first 79 characters.
    const std::string longText =
        "The current mouse coordinates. Right click to switch between screen coordinates and window coordinates.";
    EXPECT_EQ(longText.substr(0, 79), neededTextA(IDS_TIP_COORDS_PANE));
    EXPECT_EQ(longText.substr(0, 79), neededTextW(IDS_TIP_COORDS_PANE));
    EXPECT_EQ("", neededTextA(9999));
    EXPECT_EQ("", neededTextW(9999));
}

TEST_F(Chrome, MenuPromptIsTheTextAfterTheLineFeed)
{
    HMENU menu = CreatePopupMenu();
    auto select = [&](UINT item, UINT flags, HMENU owner) {
        SendMessageA(window(), WM_MENUSELECT, MAKEWPARAM(item, flags), reinterpret_cast<LPARAM>(owner));
        return paneText(0);
    };
    EXPECT_EQ("Set the zoom factor to 2 times", select(IDM_ZOOM_2X, MF_STRING | MF_HILITE, menu));
    EXPECT_EQ(SBT_NOBORDERS, Magnifier.chrome().statusBar().textFlags(0));
    EXPECT_EQ("Changes the position of Scopella in the z-order to be a topmost window.",
              select(IDM_ALWAYS_ON_TOP, MF_STRING | MF_HILITE, menu));
    // The menu closed.
    EXPECT_EQ("Press F1 for help", select(0, 0xFFFF, nullptr));
    EXPECT_EQ("Set the zoom factor to 2 times", select(IDM_ZOOM_2X, MF_HILITE, menu));
    EXPECT_EQ("Press F1 for help", select(IDM_ZOOM_2X, 0xFFFF, menu));
    select(IDM_ZOOM_2X, MF_HILITE, menu);
    EXPECT_EQ("Press F1 for help", select(IDM_ZOOM_2X, MF_HILITE, nullptr));
    // A separator, an item whose text has no line feed, an item without text.
    select(IDM_ZOOM_2X, MF_HILITE, menu);
    EXPECT_EQ("Press F1 for help", select(0, MF_SEPARATOR, menu));
    select(IDM_ZOOM_2X, MF_HILITE, menu);
    EXPECT_EQ("Press F1 for help", select(IDM_COLOUR_HEX, MF_STRING | MF_HILITE, menu));
    select(IDM_ZOOM_2X, MF_HILITE, menu);
    EXPECT_EQ("Press F1 for help", select(SC_MOVE, MF_STRING | MF_HILITE | MF_SYSMENU, menu));
    DestroyMenu(menu);
}

namespace {

// A 40 x 30 memory bitmap filled with one colour, drawn into by OnDrawItem.
class Canvas : public MemoryCanvas {
public:
    explicit Canvas(COLORREF background) : MemoryCanvas(40, 30, background) {}
    LRESULT draw(UINT control, UINT item, const RECT& r)
    {
        DRAWITEMSTRUCT d = {};
        d.CtlType = ODT_STATIC;  // what the status bar passes is not reliable
        d.CtlID = control;
        d.itemID = item;
        d.itemAction = ODA_DRAWENTIRE;
        d.hwndItem = Magnifier.chrome().statusBar();
        d.hDC = dc;
        d.rcItem = r;
        return SendMessageA(Magnifier.handle(), WM_DRAWITEM, control, reinterpret_cast<LPARAM>(&d));
    }
};

}  // namespace

TEST_F(Chrome, SwatchIsFilledWithTheLastColour)
{
    const COLORREF grey = RGB(200, 200, 200);
    const RECT item = {5, 4, 25, 20};
    Magnifier.chrome().showColour(RGB(255, 128, 0));
    Canvas canvas(grey);
    EXPECT_EQ(0, canvas.draw(StatusBarId, SwatchPane, item));
    EXPECT_EQ(20 * 16, canvas.count(RGB(255, 128, 0)));
    EXPECT_EQ(RGB(255, 128, 0), canvas.at(5, 4));
    EXPECT_EQ(RGB(255, 128, 0), canvas.at(24, 19));
    EXPECT_EQ(grey, canvas.at(25, 19));
    EXPECT_EQ(grey, canvas.at(4, 4));
}

TEST_F(Chrome, OwnerDrawingIsOnlyForTheStatusBar)
{
    const COLORREF grey = RGB(200, 200, 200);
    const RECT item = {0, 0, 40, 30};
    Magnifier.chrome().showColour(RGB(255, 128, 0));
    Canvas canvas(grey);
    EXPECT_EQ(0, canvas.draw(ToolbarId, SwatchPane, item));
    EXPECT_EQ(0, canvas.draw(StatusBarId + 1, SwatchPane, item));
    EXPECT_EQ(0, canvas.draw(StatusBarId, CoordsPane, item));
    EXPECT_EQ(0, canvas.draw(StatusBarId, ColourTextPane, item));
    EXPECT_EQ(40 * 30, canvas.count(grey));
}

TEST_F(Chrome, LinkPaneIsBlueTextAndLeavesTheContextAsItWas)
{
    Canvas canvas(RGB(255, 255, 255));
    HGDIOBJ fontBefore = GetCurrentObject(canvas.dc, OBJ_FONT);
    SetTextColor(canvas.dc, RGB(1, 2, 3));
    SetBkMode(canvas.dc, OPAQUE);
    const RECT item = {0, 0, 40, 30};
    EXPECT_EQ(0, canvas.draw(StatusBarId, LinkPane, item));
    // The link is drawn in pure blue on a transparent background.
    EXPECT_GT(canvas.count(RGB(0, 0, 255)), 0);
    int other = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const COLORREF c = canvas.at(x, y);
            other += c != RGB(255, 255, 255) && GetBValue(c) < 128;
        }
    EXPECT_EQ(0, other);
    EXPECT_EQ(fontBefore, GetCurrentObject(canvas.dc, OBJ_FONT));
    EXPECT_EQ(RGB(1, 2, 3), GetTextColor(canvas.dc));
    EXPECT_EQ(OPAQUE, GetBkMode(canvas.dc));
}

TEST_F(Chrome, HandCursorOnlyOverTheLinkPane)
{
    LinkCursor = LoadCursorA(nullptr, IDC_HAND);
    ASSERT_NE(nullptr, LinkCursor);
    resizeClient(900, 250);  // every pane lies inside the bar
    SetForegroundWindow(window());
    RECT bar, pane;
    GetWindowRect(Magnifier.chrome().statusBar(), &bar);
    auto setCursorOverPane = [&](int index, int dx) {
        Magnifier.chrome().statusBar().paneRect(index, pane);
        POINT p = {pane.left + dx, (pane.top + pane.bottom) / 2};
        ClientToScreen(Magnifier.chrome().statusBar(), &p);
        SetCursorPos(p.x, p.y);
        pumpMessages(20);
    };
    auto setCursorMessage = [&]() {
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        return SendMessageA(window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Magnifier.chrome().statusBar().handle()),
                            MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    };

    setCursorOverPane(LinkPane, 0);  // the left edge belongs to the pane
    EXPECT_EQ(TRUE, setCursorMessage());
    EXPECT_EQ(LinkCursor, GetCursor());
    setCursorOverPane(LinkPane, pane.right - pane.left - 1);
    EXPECT_TRUE(Magnifier.chrome().OnSetCursor());
    setCursorOverPane(LinkPane, pane.right - pane.left);  // the right edge does not
    EXPECT_FALSE(Magnifier.chrome().OnSetCursor());
    setCursorOverPane(CoordsPane, 5);
    EXPECT_FALSE(Magnifier.chrome().OnSetCursor());
    setCursorMessage();
    EXPECT_NE(LinkCursor, GetCursor());
    // Above the status bar, in the view.
    SetCursorPos((bar.left + bar.right) / 2, bar.top - 20);
    EXPECT_FALSE(Magnifier.chrome().OnSetCursor());
    LinkCursor = nullptr;
}

// --- Toggles and visibility -------------------------------------------------------

namespace {

// The z-order place last asked for the main window.
HWND lastInsertAfter = nullptr;
LRESULT CALLBACK recordZOrder(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code >= 0 && message->message == WM_WINDOWPOSCHANGING && message->hwnd == Magnifier.handle()) {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(message->lParam);
        if (!(pos->flags & SWP_NOZORDER))
            lastInsertAfter = pos->hwndInsertAfter;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool buttonChecked(UINT command)
{
    return (Magnifier.chrome().toolbar().state(command) & TBSTATE_CHECKED) != 0;
}

}  // namespace

TEST_F(Chrome, CheckButtonsFollowTheSettingsNotTheirOwnToggling)
{
    // A click has already toggled the button when the command arrives; the
    // command sets the state from the setting.
    {
        const OwnedHook hook(SetWindowsHookExA(WH_CALLWNDPROC, recordZOrder, nullptr, GetCurrentThreadId()));
        for (int round = 0; round < 2; ++round) {
            Magnifier.chrome().toolbar().check(IDM_FOLLOW_MOUSE, !Settings.MouseTracking);
            SendMessageA(window(), WM_COMMAND, IDM_FOLLOW_MOUSE,
                         reinterpret_cast<LPARAM>(Magnifier.chrome().toolbar().handle()));
            EXPECT_EQ(Settings.MouseTracking, buttonChecked(IDM_FOLLOW_MOUSE));
            SendMessageA(window(), WM_COMMAND, IDM_TOGGLE_GRID, 0);
            EXPECT_EQ(Settings.ShowGrid, buttonChecked(IDM_TOGGLE_GRID));
            SendMessageA(window(), WM_COMMAND, IDM_ALWAYS_ON_TOP, 0);
            EXPECT_EQ(Settings.AlwaysOnTop != 0, buttonChecked(IDM_ALWAYS_ON_TOP));
            EXPECT_EQ(Settings.AlwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, lastInsertAfter);
            EXPECT_EQ(Settings.AlwaysOnTop != 0, (GetWindowLongPtrA(window(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
            lastInsertAfter = nullptr;
            EXPECT_EQ(round == 0, Settings.MouseTracking);
            EXPECT_EQ(round == 0, Settings.ShowGrid);
        }
    }
    for (UINT command : {IDM_FOLLOW_MOUSE, IDM_TOGGLE_GRID, IDM_ALWAYS_ON_TOP})
        EXPECT_TRUE(Magnifier.chrome().toolbar().state(command) & TBSTATE_ENABLED);
}

TEST_F(Chrome, StatusBarToggleRelaysTheView)
{
    RECT client;
    GetClientRect(window(), &client);
    EXPECT_EQ(client.bottom - Magnifier.chrome().statusHeight(), Magnifier.view().viewRect().bottom);
    const int rows = Magnifier.view().cells().viewRows;
    SendMessageA(window(), WM_COMMAND, IDM_TOGGLE_STATUSBAR, 0);
    EXPECT_FALSE(Settings.DisplayStatusbar);
    EXPECT_FALSE(IsWindowVisible(Magnifier.chrome().statusBar()));
    const RECT v = Magnifier.view().viewRect();
    EXPECT_EQ(client.bottom, v.bottom);
    EXPECT_EQ((v.bottom - v.top) / Settings.ZoomFactor + 1, Magnifier.view().cells().viewRows);
    EXPECT_GT(Magnifier.view().cells().viewRows, rows);
    SendMessageA(window(), WM_COMMAND, IDM_TOGGLE_STATUSBAR, 0);
    EXPECT_TRUE(IsWindowVisible(Magnifier.chrome().statusBar()));
    EXPECT_EQ(rows, Magnifier.view().cells().viewRows);
}

// --- Handles ---------------------------------------------------------------------

TEST_F(Chrome, DrawingAndSizingLeaveNoHandlesBehind)
{
    const DWORD gdiBefore = liveGdiObjects();
    ASSERT_GT(gdiBefore, 0u);
    {
        Canvas canvas(RGB(1, 2, 3));
        const RECT item = {0, 0, 40, 30};
        for (int i = 0; i < 300; ++i) {
            Magnifier.chrome().showColour(RGB(i, 0, 0));
            canvas.draw(StatusBarId, SwatchPane, item);
            canvas.draw(StatusBarId, LinkPane, item);
            Magnifier.chrome().setStatusParts();
        }
    }
    EXPECT_EQ(gdiBefore, liveGdiObjects());
}

TEST_F(Chrome, SwatchOfAnUnreadablePixelIsWhite)
{
    // GetPixel's failure value has every bit set; it reads as 255,255,255.
    Magnifier.chrome().showColour(CLR_INVALID);
    Canvas canvas(RGB(1, 2, 3));
    const RECT item = {0, 0, 40, 30};
    canvas.draw(StatusBarId, SwatchPane, item);
    EXPECT_EQ(40 * 30, canvas.count(RGB(255, 255, 255)));
}

TEST_F(Chrome, NoHandWhereAHiddenStatusBarLies)
{
    LinkCursor = LoadCursorA(nullptr, IDC_HAND);
    resizeClient(900, 250);
    SendMessageA(window(), WM_COMMAND, IDM_TOGGLE_STATUSBAR, 0);
    ASSERT_FALSE(IsWindowVisible(Magnifier.chrome().statusBar()));
    // The hidden bar was moved below the client area, over the window's
    // bottom border: the border keeps its own cursor.
    RECT pane, frame;
    Magnifier.chrome().statusBar().paneRect(LinkPane, pane);
    POINT p = {(pane.left + pane.right) / 2, pane.top + 1};
    ClientToScreen(Magnifier.chrome().statusBar(), &p);
    GetWindowRect(window(), &frame);
    ASSERT_LT(p.y, frame.bottom);
    SetCursorPos(p.x, p.y);
    pumpMessages(20);
    EXPECT_FALSE(Magnifier.chrome().OnSetCursor());
    EXPECT_NE(HTCLIENT, SendMessageA(window(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)));
    LinkCursor = nullptr;
    // Nor any context menu or help there, or below the window.
    DWORD id = 0;
    EXPECT_FALSE(Magnifier.mouse().ContextHelpIdAt(p, id)) << id;
    for (int below : {5, 10}) {
        const POINT outside = {p.x, frame.bottom + below};
        EXPECT_FALSE(Magnifier.mouse().ContextHelpIdAt(outside, id)) << id;
    }
}
