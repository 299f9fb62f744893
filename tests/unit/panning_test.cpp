// The panning library PANX on its own (its steps, and what it holds while it
// runs and gives back at the end).
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "app/globals.h"
#include "panx/pan_step.h"
#include "tests/unit/test_support.h"

TEST(PanStep, NothingInTheDeadZoneThenFasterFartherAway)
{
    PanRemainder rest;
    const POINT none = panStep(PanDeadZone - 3, 3, rest);
    EXPECT_EQ(0, none.x);
    EXPECT_EQ(0, none.y);
    const double slow = panSpeed(PanDeadZone + 2);
    EXPECT_GT(slow, 0);
    EXPECT_LT(slow, 1);  // under a pixel a tick
    EXPECT_GT(panSpeed(100), 5 * panSpeed(PanDeadZone + 20));
    EXPECT_GT(panSpeed(300), 3 * panSpeed(100));
    // Slow steps add up rather than get lost.
    long moved = 0;
    for (int i = 0; i < 100; ++i)
        moved += panStep(0, -(PanDeadZone + 2), rest).y;
    EXPECT_NEAR(-100 * slow, moved, 1);
    // Along the pointer's direction.
    const POINT step = panStep(-200, 100, rest);
    EXPECT_NEAR(-2 * step.y, step.x, 1);
    EXPECT_GT(step.y, 0);
}

namespace {

int endMessages = 0;
POINT lastStep{0, 0};

LRESULT CALLBACK hostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == originEndMessage)
        ++endMessages;
    if (message == originUpdateMessage)
        lastStep = *reinterpret_cast<const POINT*>(lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

bool pumpUntil(bool (*done)(), DWORD milliseconds = 5000)
{
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < milliseconds)
        pumpMessages(10);
    return done();
}

}  // namespace

TEST(PanningLibrary, StepsThenGivesEverythingBackOncePerStart)
{
    std::string path = PANX_PATH;  // a Unix path is drive Z: to Wine
    if (path[0] == '/')
        path = "Z:" + path;
    HMODULE library = LoadLibraryA(path.c_str());
    ASSERT_TRUE(library);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = hostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "PanningHost";
    RegisterClassA(&wc);
    HWND host = CreateWindowExA(0, "PanningHost", "", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr, nullptr,
                                wc.hInstance, nullptr);
    using Start = int(WINAPI*)(HWND, int, int, int, int);
    const auto start = reinterpret_cast<Start>(reinterpret_cast<void*>(GetProcAddress(library, "StartPanning")));
    ASSERT_TRUE(start);
    SetCursorPos(150, 150);
    endMessages = 0;

    // A second start ends the first: one marker, and one end message per start.
    EXPECT_EQ(1, start(host, 1, 1, 50, 50));
    EXPECT_EQ(1, start(host, 1, 1, 50, 50));
    HWND marker = FindWindowA("PanxOriginMarker", nullptr);
    ASSERT_TRUE(marker);
    EXPECT_EQ(marker, GetCapture());
    EXPECT_TRUE(pumpUntil([] { return endMessages == 1; }));
    EXPECT_EQ(marker, FindWindowA("PanxOriginMarker", nullptr));

    SetCursorPos(150 - 120, 150);
    EXPECT_TRUE(pumpUntil([] { return lastStep.x < 0; }));
    EXPECT_EQ(0, lastStep.y);

    SendMessageA(marker, WM_CANCELMODE, 0, 0);
    EXPECT_TRUE(pumpUntil([] { return endMessages == 2; }));
    EXPECT_FALSE(IsWindow(marker));
    EXPECT_EQ(nullptr, GetCapture());
    WNDCLASSA left;
    EXPECT_FALSE(GetClassInfoA(library, "PanxOriginMarker", &left));
    DestroyWindow(host);
    UnregisterClassA("PanningHost", wc.hInstance);
    FreeLibrary(library);
    EXPECT_EQ(nullptr, GetModuleHandleA("PANX.dll"));
}
