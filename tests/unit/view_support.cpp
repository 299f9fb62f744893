#include "tests/unit/view_support.h"

#include "base/globals.h"
#include "window/magnifier_window.h"

void QuietViewTest::SetUp()
{
    MainWindowTest::SetUp();
    SetWindowPos(Magnifier.handle(), nullptr, 760, 600, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void QuietViewTest::prepareRegistry()
{
    const BYTE off = 0;
    writeSetting("MouseTracking", REG_BINARY, &off, 1);
    writeDword("Update", 1);
    moreSettings();
}

int clientHeightForView(int height)
{
    const int top = Settings.DisplayToolbar ? Magnifier.chrome().rebarHeight() : 0;
    const int bottom = Settings.DisplayStatusbar ? Magnifier.chrome().statusHeight() : 0;
    return height + top + bottom;
}

void sizeViewTo(int width, int height)
{
    HWND window = Magnifier.handle();
    RECT outer, client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    const int frameWidth = (outer.right - outer.left) - client.right;
    const int frameHeight = (outer.bottom - outer.top) - client.bottom;
    SetWindowPos(window, nullptr, 0, 0, width + frameWidth, clientHeightForView(height) + frameHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT v = Magnifier.view().viewRect();
    ASSERT_EQ(width, v.right - v.left) << "the platform kept another window width";
    ASSERT_EQ(height, v.bottom - v.top) << "the platform kept another window height";
}

void markClient()
{
    HDC dc = GetDC(Magnifier.handle());
    ASSERT_NE(nullptr, dc);
    RECT client;
    GetClientRect(Magnifier.handle(), &client);
    HBRUSH brush = CreateSolidBrush(MarkColour);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    ReleaseDC(Magnifier.handle(), dc);
    ASSERT_EQ(MarkColour, clientPixel(client.right / 2, client.bottom / 2));
}

COLORREF clientPixel(int x, int y)
{
    HDC dc = GetDC(Magnifier.handle());
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(Magnifier.handle(), dc);
    return c;
}

bool viewStillMarked()
{
    const RECT v = Magnifier.view().viewRect();
    return clientPixel((v.left + v.right) / 2, (v.top + v.bottom) / 2) == MarkColour &&
           clientPixel(v.left, v.top) == MarkColour;
}
