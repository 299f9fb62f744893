// Window placement and transparency: moving a rectangle back inside the
// screen area, the main window kept on screen at a settings change, the
// layered style and alpha, and the saved normal rectangle.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/globals.h"
#include "overlays/transparency.h"
#include "resources/resource_ids.h"
#include "tests/unit/view_support.h"
#include "view/geometry.h"
#include "window/magnifier_window.h"
#include "window/placement.h"

namespace {

RECT rectAt(int x, int y, int w, int h)
{
    return RECT{x, y, x + w, y + h};
}

void expectRect(const RECT& expected, const RECT& actual)
{
    EXPECT_EQ(expected.left, actual.left);
    EXPECT_EQ(expected.top, actual.top);
    EXPECT_EQ(expected.right, actual.right);
    EXPECT_EQ(expected.bottom, actual.bottom);
}

}  // namespace

TEST(KeepRectOnScreen, MovesAWindowBackWithoutResizingIt)
{
    expectRect(rectAt(0, 518, 450, 250), keepRectOnScreen(rectAt(-50, 700, 450, 250), 0, 0, 1024, 768));
    expectRect(rectAt(574, 0, 450, 250), keepRectOnScreen(rectAt(900, -90, 450, 250), 0, 0, 1024, 768));
    const RECT inside = rectAt(10, 10, 450, 250);
    expectRect(inside, keepRectOnScreen(inside, 0, 0, 1024, 768));
    const RECT touching = rectAt(0, 0, 1024, 768);
    expectRect(touching, keepRectOnScreen(touching, 0, 0, 1024, 768));
}

TEST(KeepRectOnScreen, TheRightAndBottomEdgesWinForAnOversizedWindow)
{
    expectRect(rectAt(-976, 100, 2000, 250), keepRectOnScreen(rectAt(100, 100, 2000, 250), 0, 0, 1024, 768));
    expectRect(rectAt(-976, 100, 2000, 250), keepRectOnScreen(rectAt(-3000, 100, 2000, 250), 0, 0, 1024, 768));
    expectRect(rectAt(5, -232, 300, 1000), keepRectOnScreen(rectAt(5, -500, 300, 1000), 0, 0, 1024, 768));
}

TEST(KeepRectOnScreen, UsesTheWholeVirtualScreen)
{
    // Two monitors side by side, the left one at x -1280.
    const RECT onTheLeftMonitor = rectAt(-600, 100, 450, 250);
    expectRect(onTheLeftMonitor, keepRectOnScreen(onTheLeftMonitor, -1280, 0, 2304, 1024));
    expectRect(rectAt(-1280, 100, 450, 250), keepRectOnScreen(rectAt(-1400, 100, 450, 250), -1280, 0, 2304, 1024));
    expectRect(rectAt(574, 774, 450, 250), keepRectOnScreen(rectAt(900, 900, 450, 250), -1280, 0, 2304, 1024));
}

namespace {

class Placement : public QuietViewTest {
protected:
    RECT windowRect() const
    {
        RECT r;
        GetWindowRect(window(), &r);
        return r;
    }
};

}  // namespace

TEST_F(Placement, KeepOnScreenMovesTheMainWindowBack)
{
    const int bottom = screenTop + screenHeight;
    SetWindowPos(window(), nullptr, screenLeft - 50, bottom - 68, 450, 250, SWP_NOZORDER | SWP_NOACTIVATE);
    Magnifier.keepOnScreen();
    expectRect(rectAt(screenLeft, bottom - 250, 450, 250), windowRect());

    // A window inside the screen stays where it is.
    SetWindowPos(window(), nullptr, screenLeft + 20, screenTop + 30, 450, 250, SWP_NOZORDER | SWP_NOACTIVATE);
    Magnifier.keepOnScreen();
    expectRect(rectAt(screenLeft + 20, screenTop + 30, 450, 250), windowRect());
}

TEST_F(Placement, SettingsChangeKeepsTheWindowOnScreenAndLaysOutAgain)
{
    const int right = screenLeft + screenWidth;
    SetWindowPos(window(), nullptr, right - 100, screenTop - 40, 450, 250, SWP_NOZORDER | SWP_NOACTIVATE);
    // A stale layout, as if the screen had changed under it.
    Settings.ZoomFactor = 7;
    EXPECT_EQ(0, SendMessageA(window(), WM_WININICHANGE, 0, 0));
    expectRect(rectAt(right - 450, screenTop, 450, 250), windowRect());
    const RECT v = Magnifier.view().viewRect();
    EXPECT_EQ((v.right - v.left) / Settings.ZoomFactor + 1, Magnifier.view().cells().viewCols);
    EXPECT_EQ(screenLeft + screenWidth - Magnifier.view().cells().halfCols - 1, Magnifier.view().cells().maxPointX);
}

TEST_F(Placement, TransparencyMakesTheWindowLayeredWithTheLowByteAsAlpha)
{
    ASSERT_FALSE(GetWindowLongPtrA(window(), GWL_EXSTYLE) & WS_EX_LAYERED);
    setTransparency(window(), true, 178);
    EXPECT_TRUE(GetWindowLongPtrA(window(), GWL_EXSTYLE) & WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    COLORREF key = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(window(), &key, &alpha, &flags));
    EXPECT_EQ(178, alpha);
    EXPECT_EQ(static_cast<DWORD>(LWA_ALPHA), flags);

    setTransparency(window(), true, 200);
    ASSERT_TRUE(GetLayeredWindowAttributes(window(), &key, &alpha, &flags));
    EXPECT_EQ(200, alpha);
    setTransparency(window(), true, 434);  // 0x1B2: only 0xB2 = 178 counts
    ASSERT_TRUE(GetLayeredWindowAttributes(window(), &key, &alpha, &flags));
    EXPECT_EQ(178, alpha);
    // The other extended styles are kept.
    EXPECT_TRUE(GetWindowLongPtrA(window(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
}

TEST_F(Placement, TransparencyOffRemovesTheStyleAndRedrawsEverything)
{
    setTransparency(window(), true, 178);
    UpdateWindow(window());
    ValidateRect(window(), nullptr);
    ValidateRect(Magnifier.chrome().statusBar(), nullptr);
    ASSERT_FALSE(GetUpdateRect(window(), nullptr, FALSE));

    setTransparency(window(), false, 178);
    EXPECT_FALSE(GetWindowLongPtrA(window(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_TRUE(GetWindowLongPtrA(window(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
    // The whole window waits to be painted again, children included.
    RECT pending;
    EXPECT_TRUE(GetUpdateRect(window(), &pending, FALSE));
    RECT client;
    GetClientRect(window(), &client);
    EXPECT_TRUE(EqualRect(&client, &pending));
    EXPECT_TRUE(GetUpdateRect(Magnifier.chrome().statusBar(), nullptr, FALSE));
}

TEST_F(Placement, TransparencyCommandTogglesTheSetting)
{
    EXPECT_FALSE(Magnifier.OnCommand(IDM_TOGGLE_TRANSPARENT));
    EXPECT_TRUE(Settings.Transparent);
    EXPECT_TRUE(GetWindowLongPtrA(window(), GWL_EXSTYLE) & WS_EX_LAYERED);
    BYTE alpha = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(window(), nullptr, &alpha, nullptr));
    EXPECT_EQ(Settings.nTransparency & 0xFF, alpha);
    EXPECT_FALSE(Magnifier.OnCommand(IDM_TOGGLE_TRANSPARENT));
    EXPECT_FALSE(Settings.Transparent);
    EXPECT_FALSE(GetWindowLongPtrA(window(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

namespace {

class TransparentAtStart : public Placement {
    void moreSettings() override
    {
        const BYTE on = 1;
        writeSetting("Transparent", REG_BINARY, &on, 1);
        writeDword("nTransparency", 0x100 + 120);
    }
};

}  // namespace

TEST_F(TransparentAtStart, TheStoredStateIsAppliedAtCreation)
{
    EXPECT_TRUE(GetWindowLongPtrA(window(), GWL_EXSTYLE) & WS_EX_LAYERED);
    BYTE alpha = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(window(), nullptr, &alpha, nullptr));
    EXPECT_EQ(120, alpha);
}

TEST_F(Placement, NormalRectangleComesBackInScreenCoordinates)
{
    SetWindowPos(window(), nullptr, 123, 234, 456, 210, SWP_NOZORDER | SWP_NOACTIVATE);
    POINT shift = {0, 0};
    expectRect(windowRect(), normalRectOnScreen(window(), shift));

    // Maximised or minimised, the rectangle it returns to, shifted as last
    // measured.
    ShowWindow(window(), SW_MAXIMIZE);
    expectRect(rectAt(123, 234, 456, 210), normalRectOnScreen(window(), shift));
    ShowWindow(window(), SW_MINIMIZE);
    expectRect(rectAt(123, 234, 456, 210), normalRectOnScreen(window(), shift));
    shift = POINT{7, -5};
    expectRect(rectAt(130, 229, 456, 210), normalRectOnScreen(window(), shift));
    ShowWindow(window(), SW_RESTORE);  // back to maximised
    ShowWindow(window(), SW_RESTORE);  // back to normal
    pumpMessages(50);
    ASSERT_FALSE(IsIconic(window()) || IsZoomed(window()));
    expectRect(rectAt(123, 234, 456, 210), normalRectOnScreen(window(), shift));
    EXPECT_EQ(0, shift.x);
    EXPECT_EQ(0, shift.y);
}
