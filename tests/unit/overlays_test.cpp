// The overlays opened and closed many times through the real mouse messages
// of the main window leave no window, GDI object or capture behind, and an
// overlay closed together with its owner is opened anew next time.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/globals.h"
#include "overlays/tracking_tooltip.h"
#include "resources/resource_ids.h"
#include "tests/unit/test_support.h"
#include "window/magnifier_window.h"

namespace {

class Overlays : public MainWindowTest {
protected:
    void send(UINT message, int x, int y, WPARAM keys = 0)
    {
        const RECT v = Magnifier.view().viewRect();
        SendMessageA(window(), message, keys, MAKELPARAM(v.left + x, v.top + y));
    }

    // A selection cancelled by a left click, a pick of the zoom point, and a
    // highlight that is closed before its blink ends.
    void cycle()
    {
        send(WM_RBUTTONDOWN, 13, 9, MK_RBUTTON);
        send(WM_MOUSEMOVE, 60, 40, MK_RBUTTON);
        pumpMessages(5);  // the marquee and the size tip paint
        send(WM_LBUTTONDOWN, 60, 40, MK_LBUTTON | MK_RBUTTON);
        send(WM_RBUTTONUP, 60, 40, MK_LBUTTON);
        send(WM_LBUTTONUP, 60, 40);
        send(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
        send(WM_MOUSEMOVE, 30, 25, MK_LBUTTON);
        pumpMessages(5);  // the frame and the tip paint
        send(WM_LBUTTONUP, 30, 25);
        SendMessageA(window(), WM_COMMAND, IDM_HIGHLIGHT, 0);
        pumpMessages(5);
        send(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);  // a pick closes the blinking frame
        send(WM_LBUTTONUP, 20, 20);
    }
};

}  // namespace

TEST_F(Overlays, HundredOpenAndCloseCyclesLeaveNothingBehind)
{
    cycle();  // the marquee's brushes are made once, on the first selection
    pumpMessages(50);
    const DWORD objects = liveGdiObjects();
    ASSERT_NE(0u, objects);
    for (int i = 0; i < 100; ++i)
        cycle();
    pumpMessages(50);
    EXPECT_EQ(objects, liveGdiObjects());
    for (const char* overlay : {"Brindle-draghighlight", "tiv_Marquee", "tiv_TrackingToolTip"})
        EXPECT_EQ(nullptr, FindWindowA(overlay, nullptr)) << overlay;
    EXPECT_FALSE(Magnifier.mouse().selecting() || Magnifier.mouse().hasSelection() || Magnifier.mouse().pickingPoint());
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(Overlays, OverlaysClosedWithTheirOwnerOpenAgain)
{
    send(WM_RBUTTONDOWN, 1, 1, MK_RBUTTON);
    send(WM_MOUSEMOVE, 40, 30, MK_RBUTTON);
    ASSERT_TRUE(IsWindowVisible(Magnifier.mouse().trackingTip().hwnd));
    ASSERT_TRUE(IsWindowVisible(Magnifier.mouse().marquee().hwnd));
    DestroyWindow(window());  // the tip and the marquee are owned: they go too
    EXPECT_EQ(nullptr, Magnifier.mouse().trackingTip().hwnd);
    EXPECT_EQ(nullptr, Magnifier.mouse().marquee().hwnd);

    // An overlay forgets a window that went with its owner and opens anew.
    HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    TrackingToolTip tip;
    tip.Show(owner, 50, 50, "first");
    ASSERT_TRUE(IsWindow(tip.hwnd));
    DestroyWindow(owner);
    EXPECT_EQ(nullptr, tip.hwnd);
    EXPECT_FALSE(tip.Destroy());
    tip.Show(nullptr, 100, 100, "again");
    EXPECT_TRUE(IsWindowVisible(tip.hwnd));
    RECT r;
    GetWindowRect(tip.hwnd, &r);
    EXPECT_EQ(100, r.left);
    EXPECT_EQ(100, r.bottom);
    EXPECT_TRUE(tip.Destroy());
}

TEST_F(Overlays, ADragWhosePointerAnotherWindowTakesEnds)
{
    HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, other);
    for (UINT down : {WM_LBUTTONDOWN, WM_RBUTTONDOWN}) {
        send(down, 20, 20, down == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON);
        send(WM_MOUSEMOVE, 50, 40, 0);
        ASSERT_EQ(window(), GetCapture());
        ASSERT_TRUE(Magnifier.mouse().pickingPoint() || Magnifier.mouse().selecting());
        SetCapture(other);  // no cancel message comes with it
        EXPECT_FALSE(Magnifier.mouse().pickingPoint() || Magnifier.mouse().selecting() ||
                     Magnifier.mouse().hasSelection());
        for (const char* overlay : {"Brindle-draghighlight", "tiv_Marquee", "tiv_TrackingToolTip"})
            EXPECT_EQ(nullptr, FindWindowA(overlay, nullptr)) << overlay;
        EXPECT_EQ(other, GetCapture());
        ReleaseCapture();
        // The view follows no drag any more: the zoom point stays.
        const POINT before = Magnifier.view().zoomPoint();
        send(WM_MOUSEMOVE, 90, 70, 0);
        EXPECT_EQ(before.x, Magnifier.view().zoomPoint().x);
        EXPECT_EQ(before.y, Magnifier.view().zoomPoint().y);
    }
    DestroyWindow(other);
}
