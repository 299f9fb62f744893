// Always on top in-process: the main window's own topmost style with owned
// pop-ups open (the tooltip control, a plain pop-up as the tips and the
// marquee are, a topmost one), which stay owned and above it in its band.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/globals.h"
#include "resources/resource_ids.h"
#include "tests/unit/test_support.h"
#include "window/magnifier_window.h"

namespace {

bool topmost(HWND window)
{
    return (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

bool above(HWND upper, HWND lower)
{
    HWND w = lower;
    while ((w = GetWindow(w, GW_HWNDPREV)) && w != upper) {
    }
    return w == upper;
}

class AlwaysOnTop : public MainWindowTest {};

}  // namespace

TEST_F(AlwaysOnTop, TheWindowItselfBecomesTopmostAndBackWithOwnedPopupsOpen)
{
    // Destroyed with their owner.
    HWND popups[2];
    for (DWORD exStyle : {DWORD(0), DWORD(WS_EX_TOPMOST | WS_EX_TOOLWINDOW)}) {
        HWND popup = CreateWindowExA(exStyle, "STATIC", nullptr, WS_POPUP | WS_BORDER, 10, 10, 40, 20, window(),
                                     nullptr, AppInstance, nullptr);
        ShowWindow(popup, SW_SHOWNOACTIVATE);
        popups[exStyle ? 1 : 0] = popup;
    }
    ASSERT_FALSE(topmost(window()));
    for (bool on : {true, false, true, false}) {
        SendMessageA(window(), WM_COMMAND, IDM_ALWAYS_ON_TOP, 0);
        ASSERT_EQ(on, Settings.AlwaysOnTop != 0);
        EXPECT_EQ(on, topmost(window()));
        EXPECT_EQ(window(), GetWindow(Magnifier.chrome().tooltips(), GW_OWNER));
        for (HWND popup : popups) {
            EXPECT_EQ(window(), GetWindow(popup, GW_OWNER));
            EXPECT_EQ(on, topmost(popup));
            EXPECT_TRUE(above(popup, window()));
        }
    }
}
