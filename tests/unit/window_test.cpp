// The main window's own messages: destruction keeps the placement and the
// zoom point, size and focus handling, system keys and the close command.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/startup.h"
#include "base/globals.h"
#include "base/owned_handle.h"
#include "resources/resource_ids.h"
#include "tests/unit/test_support.h"
#include "window/magnifier_window.h"

namespace {

class MainWindow : public MainWindowTest {};

int closeMessages = 0;
LRESULT CALLBACK countCloseMessages(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code >= 0 && message->message == WM_CLOSE)
        ++closeMessages;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

TEST_F(MainWindow, ObjectKnowsItsWindowFromTheFirstMessage)
{
    EXPECT_EQ(FindWindowA("ScopellaMainWnd", nullptr), Magnifier.handle());
}

TEST_F(MainWindow, DestroyKeepsTheNormalRectangleNotTheMaximisedOne)
{
    SetWindowPos(window(), nullptr, 40, 60, 500, 300, SWP_NOZORDER);
    ShowWindow(window(), SW_MAXIMIZE);
    pumpMessages(50);
    RECT maximised;
    GetWindowRect(window(), &maximised);
    ASSERT_GT(maximised.right - maximised.left, 500);
    Magnifier.view().setZoomPoint(POINT{321, 123});

    DestroyWindow(window());
    EXPECT_TRUE(pumpMessages(200));  // WM_QUIT was posted
    EXPECT_EQ(40, Settings.WindowPos.left);
    EXPECT_EQ(60, Settings.WindowPos.top);
    EXPECT_EQ(540, Settings.WindowPos.right);
    EXPECT_EQ(360, Settings.WindowPos.bottom);
    EXPECT_EQ(321, Settings.ZoomPoint.x);
    EXPECT_EQ(123, Settings.ZoomPoint.y);
}

TEST_F(MainWindow, CloseCommandDestroysWithoutCloseMessage)
{
    {
        const OwnedHook hook(SetWindowsHookExA(WH_CALLWNDPROC, countCloseMessages, nullptr, GetCurrentThreadId()));
        closeMessages = 0;
        EXPECT_EQ(0, SendMessageA(window(), WM_COMMAND, IDM_CLOSE, 0));
    }
    EXPECT_FALSE(IsWindow(window()));
    EXPECT_EQ(0, closeMessages);
}

TEST_F(MainWindow, MinimisedOrZeroSizeKeepsTheLayout)
{
    const int cols = Magnifier.view().cells().viewCols;
    const int rows = Magnifier.view().cells().viewRows;
    ASSERT_GT(cols, 1);
    SendMessageA(window(), WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(10, 10));
    EXPECT_EQ(cols, Magnifier.view().cells().viewCols);
    SendMessageA(window(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(0, 100));
    SendMessageA(window(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(100, 0));
    EXPECT_EQ(cols, Magnifier.view().cells().viewCols);
    EXPECT_EQ(rows, Magnifier.view().cells().viewRows);
    ShowWindow(window(), SW_MINIMIZE);
    pumpMessages(50);
    EXPECT_EQ(cols, Magnifier.view().cells().viewCols);
    EXPECT_EQ(rows, Magnifier.view().cells().viewRows);
}

TEST_F(MainWindow, ChildControlsGiveTheFocusBack)
{
    SetForegroundWindow(window());
    SetFocus(Magnifier.chrome().zoomTrackbar());
    pumpMessages(20);
    EXPECT_EQ(window(), GetFocus());
}

TEST_F(MainWindow, SystemKeysAreNotPassedOn)
{
    // Passed on, Alt+F4 as a system key would close the window.
    SendMessageA(window(), WM_SYSKEYDOWN, VK_F4, 0x20000000);
    pumpMessages(20);
    EXPECT_TRUE(IsWindow(window()));
    EXPECT_EQ(0, SendMessageA(window(), WM_ERASEBKGND, 0, 0));
}

TEST_F(MainWindow, OtherSystemCommandsWorkAsUsual)
{
    SendMessageA(window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    pumpMessages(20);
    EXPECT_TRUE(IsIconic(window()));
    SendMessageA(window(), WM_SYSCOMMAND, SC_RESTORE, 0);
    pumpMessages(20);
    EXPECT_FALSE(IsIconic(window()));
}

namespace {

// One whole life of the main window: created, painted at several sizes and
// zoom factors, destroyed.
void liveOneWindow()
{
    deleteSettingsKey();
    Settings.Load();
    Settings.ShowGrid = true;
    Settings.MouseTracking = true;
    Magnifier.attach(nullptr);
    ASSERT_TRUE(CreateMainWindow(AppInstance, SW_SHOWNORMAL));
    for (int i = 0; i < 6; ++i) {
        SetWindowPos(Magnifier.handle(), nullptr, 0, 0, 300 + 40 * i, 200 + 30 * i, SWP_NOMOVE | SWP_NOZORDER);
        Magnifier.view().setZoomFactor(2 + i);
        Magnifier.view().repaintView();
        UpdateWindow(Magnifier.handle());
    }
    // The class's small icon is loaded once per registration, which a
    // program does once; the test registers the class twice.
    HICON small = reinterpret_cast<HICON>(GetClassLongPtrA(Magnifier.handle(), GCLP_HICONSM));
    DestroyWindow(Magnifier.handle());
    EXPECT_TRUE(pumpMessages(200));
    UnregisterClassA("ScopellaMainWnd", AppInstance);
    DestroyIcon(small);
}

}  // namespace

TEST(WindowLife, LeavesNoGdiObjectBehind)
{
    // The first life loads what the platform keeps for the process (fonts,
    // cursors, common-control images); a second life must end where it began.
    liveOneWindow();
    const DWORD before = liveGdiObjects();
    ASSERT_GT(before, 0u);
    liveOneWindow();
    EXPECT_EQ(before, liveGdiObjects());
}
