// The panning library on its own (its steps; what it holds while it runs and
// gives back at the end), and the old wheel drivers' message.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "base/globals.h"
#include "panx/pan_step.h"
#include "tests/unit/test_support.h"
#include "tests/unit/view_support.h"
#include "window/wheel.h"

TEST(PanStep, NothingInTheDeadZoneThenFasterFartherAway)
{
    PanRemainder rest;
    EXPECT_EQ(0, panStep(PanDeadZone - 3, 3, rest).x);
    const double slow = panSpeed(PanDeadZone + 2);
    EXPECT_GT(slow, 0);
    EXPECT_LT(slow, 1);  // under a pixel a tick
    EXPECT_GT(panSpeed(100), 5 * panSpeed(PanDeadZone + 20));
    EXPECT_GT(panSpeed(300), 3 * panSpeed(100));
    long moved = 0;  // slow steps add up rather than get lost
    for (int i = 0; i < 100; ++i)
        moved += panStep(0, -(PanDeadZone + 2), rest).y;
    EXPECT_NEAR(-100 * slow, moved, 1);
    const POINT step = panStep(-200, 100, rest);  // along the pointer's direction
    EXPECT_NEAR(-2 * step.y, step.x, 1);
}

namespace {
int endMessages = 0;
LRESULT CALLBACK hostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    endMessages += message == originEndMessage;
    return DefWindowProcA(window, message, wParam, lParam);
}
bool endsReach(int count)
{
    for (int i = 0; i < 500 && endMessages < count; ++i)
        pumpMessages(10);
    return endMessages == count;
}
}  // namespace

TEST(PanningLibrary, OneEndPerStartAndNothingLeftAfterIt)
{
    std::string path = PANX_PATH;  // a Unix path is drive Z: to Wine
    HMODULE library = LoadLibraryA((path[0] == '/' ? "Z:" + path : path).c_str());
    ASSERT_TRUE(library);
    const auto start = reinterpret_cast<int(WINAPI*)(HWND, int, int, int, int)>(
        reinterpret_cast<void*>(GetProcAddress(library, "StartPanning")));
    ASSERT_TRUE(start);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = hostProc;
    wc.lpszClassName = "PanningHost";
    RegisterClassA(&wc);
    HWND host = CreateWindowExA(0, "PanningHost", "", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr,
                                nullptr, nullptr);
    // A second start ends the first: one marker, one end message per start.
    EXPECT_EQ(1, start(host, 1, 1, 50, 50));
    EXPECT_EQ(1, start(host, 1, 1, 50, 50));
    HWND marker = FindWindowA("PanxOriginMarker", nullptr);
    EXPECT_EQ(marker, GetCapture());
    EXPECT_TRUE(endsReach(1));
    EXPECT_TRUE(IsWindowVisible(marker));

    SendMessageA(marker, WM_CANCELMODE, 0, 0);
    EXPECT_TRUE(endsReach(2));
    EXPECT_FALSE(IsWindow(marker));
    EXPECT_EQ(nullptr, GetCapture());
    WNDCLASSA left;
    EXPECT_FALSE(GetClassInfoA(library, "PanxOriginMarker", &left));
    DestroyWindow(host);
    UnregisterClassA("PanningHost", nullptr);
    FreeLibrary(library);
    EXPECT_EQ(nullptr, GetModuleHandleA("PANX.dll"));
}

using OldWheelMessage = QuietViewTest;

TEST_F(OldWheelMessage, BecomesAWheelTurnWithTheKeysHeldNow)
{
    Settings.ZoomFactor = 5;
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    ForwardWheelMessage(window(), static_cast<WORD>(-120), 0);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    ForwardWheelMessage(window(), 120, 0);  // without a key: nothing
    EXPECT_EQ(4, Settings.ZoomFactor);
}
