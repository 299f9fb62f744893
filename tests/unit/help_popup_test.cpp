// Help without a help file beside the executable: pop-up topics in the
// program's own pop-up window (placed, coloured, closed by a click or a key),
// a text for every help id the program uses, and the help page's lists of
// keys and settings against the accelerator table and the settings table.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "base/globals.h"
#include "base/res_string.h"
#include "dialogs/help.h"
#include "dialogs/help_popup.h"
#include "dialogs/help_texts.h"
#include "resources/resource_ids.h"
#include "tests/unit/view_support.h"
#include "window/magnifier_window.h"

namespace {

template <class Condition>
bool waitFor(Condition condition, DWORD milliseconds = 3000)
{
    for (DWORD waited = 0; !condition(); waited += 20) {
        if (waited >= milliseconds)
            return false;
        pumpMessages(20);
    }
    return true;
}

std::string windowText(HWND window)
{
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

void clickAt(int x, int y)
{
    SetCursorPos(x, y);
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
}

// How many pixels of a screen rectangle have the colour.
int screenPixels(const RECT& r, COLORREF colour)
{
    MemoryCanvas canvas(r.right - r.left, r.bottom - r.top, RGB(1, 2, 3));
    HDC screen = GetDC(nullptr);
    BitBlt(canvas.dc, 0, 0, canvas.width, canvas.height, screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    return canvas.count(colour);
}

class HelpPopupTest : public QuietViewTest {
protected:
    void TearDown() override
    {
        CloseHelpPopup();
        QuietViewTest::TearDown();
    }
};

}  // namespace

TEST_F(HelpPopupTest, WhatsThisShowsTheAreaTextBelowItsPointUntilAClick)
{
    // As "What's This?" asks: a hidden 10 x 10 child of id 1 at the point,
    // destroyed right after the call.
    SetCursorPos(5, 5);
    HWND spot = CreateWindowExA(0, "STATIC", "", WS_CHILD, 40, 60, 10, 10, window(), reinterpret_cast<HMENU>(1),
                                nullptr, nullptr);
    ASSERT_NE(nullptr, spot);
    RECT spotRect;
    GetWindowRect(spot, &spotRect);
    const DWORD pairs[] = {1, 116, 0, 0};
    EXPECT_TRUE(ShowHelp(spot, HELP_WM_HELP, reinterpret_cast<ULONG_PTR>(pairs)));
    DestroyWindow(spot);
    pumpMessages(100);

    HWND popup = FindWindowA(HelpPopupClass, nullptr);
    ASSERT_NE(nullptr, popup);
    EXPECT_TRUE(IsWindowVisible(popup));
    EXPECT_EQ(ResString(IDS_HELP_VIEW).GetText(), windowText(popup));
    EXPECT_EQ(window(), GetWindow(popup, GW_OWNER));
    EXPECT_NE(popup, GetActiveWindow());
    RECT r;
    GetWindowRect(popup, &r);
    EXPECT_EQ(spotRect.bottom + 2, r.top);
    EXPECT_NEAR((spotRect.left + spotRect.right) / 2, (r.left + r.right) / 2, 1);
    // Info colours inside a thin border, the text wrapped to a narrow block.
    EXPECT_LT(r.right - r.left, GetSystemMetrics(SM_CXSCREEN) / 2);
    const RECT inner = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    EXPECT_GT(screenPixels(inner, GetSysColor(COLOR_INFOBK)),
              (inner.right - inner.left) * (inner.bottom - inner.top) / 2);
    EXPECT_GT(screenPixels(inner, GetSysColor(COLOR_INFOTEXT)), 50);
    const RECT topEdge = {r.left, r.top, r.right, r.top + 1};
    EXPECT_EQ(0, screenPixels(topEdge, GetSysColor(COLOR_INFOBK)));

    // A click elsewhere, here on the view, closes it.
    RECT main;
    GetWindowRect(window(), &main);
    clickAt((main.left + main.right) / 2, (main.top + main.bottom) / 2);
    EXPECT_TRUE(waitFor([&] { return !IsWindow(popup); }));
    EXPECT_EQ(nullptr, HelpPopupWindow());
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(HelpPopupTest, PopupAtThePointerStaysOnTheScreenAndAKeyClosesIt)
{
    SetForegroundWindow(window());
    Settings.AlwaysOnTop = 1;  // the pop-up must still lie above the window
    Magnifier.applyAlwaysOnTop();
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    SetCursorPos(work.right - 3, work.bottom - 3);
    EXPECT_TRUE(ShowHelp(window(), HELP_CONTEXTPOPUP, 0x808E03FE));
    HWND popup = HelpPopupWindow();
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(ResString(IDS_HELP_OPTIONS_BASE + 1022).GetText(), windowText(popup));
    RECT r;
    GetWindowRect(popup, &r);
    EXPECT_LE(work.left, r.left);
    EXPECT_EQ(work.right, r.right);
    EXPECT_LE(r.bottom, work.bottom - 3);  // above the pointer: no room below
    HWND below = popup;
    while (below && below != window())
        below = GetWindow(below, GW_HWNDNEXT);
    EXPECT_EQ(window(), below);
    pumpMessages(50);

    keybd_event(VK_SHIFT, 0, 0, 0);
    keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
    EXPECT_TRUE(waitFor([&] { return !IsWindow(popup); }));

    // HELP_QUIT closes an open pop-up; ids without a text and requests
    // without pairs show nothing.
    EXPECT_TRUE(ShowHelp(window(), HELP_CONTEXTPOPUP, 121));
    EXPECT_TRUE(ShowHelp(window(), HELP_QUIT, 0));
    EXPECT_EQ(nullptr, HelpPopupWindow());
    EXPECT_FALSE(ShowHelp(window(), HELP_CONTEXTPOPUP, 117));
    EXPECT_FALSE(ShowHelp(window(), HELP_CONTEXTPOPUP, 0x808E03F4));
    EXPECT_FALSE(ShowHelp(window(), HELP_WM_HELP, 0));
    EXPECT_FALSE(ShowHelp(nullptr, HELP_CONTEXTMENU, 0));
    EXPECT_EQ(nullptr, FindWindowA(HelpPopupClass, nullptr));
}

TEST_F(HelpPopupTest, EveryHelpIdOfTheProgramHasAText)
{
    // The areas, the Save dialog's check box, the Options controls and the
    // toolbar's buttons as the window has them.
    std::vector<DWORD> ids = {2, 113, 114, 115, 116, 118, 119, 120, 121, 122};
    for (DWORD control : {1,    2,    1003, 1004, 1005, 1006, 1007, 1008, 1009, 1010,
                          1011, 1013, 1018, 1019, 1020, 1021, 1022, 1023, 1024, 1025})
        ids.push_back(0x808E0000 + control);
    TBBUTTON button = {};
    for (int i = 0; Magnifier.chrome().toolbar().button(i, button); ++i) {
        if (button.idCommand)
            ids.push_back(button.idCommand);
    }
    // The colour inspector's controls, as its window has them.
    Magnifier.showInspector(true);
    for (HWND c = GetWindow(Magnifier.inspector().handle(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (GetWindowContextHelpId(c) && std::find(ids.begin(), ids.end(), GetWindowContextHelpId(c)) == ids.end())
            ids.push_back(GetWindowContextHelpId(c));
    }
    EXPECT_EQ(37u + 18u, ids.size());
    for (DWORD id : ids)
        EXPECT_GT(ResString(HelpTextId(id)).GetLength(), 20) << "help id " << id;
}

TEST(HelpPage, ListsEveryKeyOfTheAcceleratorTableAndEverySetting)
{
    // The page as it lies beside the executable (a Unix folder is drive Z:).
    std::string path = HELP_PAGE;
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
    std::ifstream in(path);
    ASSERT_TRUE(in) << path;
    std::stringstream page;
    page << in.rdbuf();

    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDA_MAIN));
    ASSERT_NE(nullptr, table);
    ACCEL keys[64];
    const int count = CopyAcceleratorTableA(table, keys, 64);
    ASSERT_GT(count, 10);
    for (int i = 0; i < count; ++i) {
        std::string name;
        if (keys[i].fVirt & FCONTROL)
            name += "Ctrl+";
        if (keys[i].fVirt & FSHIFT)
            name += "Shift+";
        if (keys[i].fVirt & FALT)
            name += "Alt+";
        const WORD key = keys[i].key;
        if (key >= 'A' && key <= 'Z')
            name += static_cast<char>(key);
        else if (key >= VK_F1 && key <= VK_F24)
            name += "F" + std::to_string(key - VK_F1 + 1);
        else if (key == VK_ADD)
            name += "Num +";
        else if (key == VK_SUBTRACT)
            name += "Num -";
        else
            name += "key " + std::to_string(key);
        EXPECT_NE(std::string::npos, page.str().find("<kbd>" + name + "</kbd>")) << name;
    }
    DestroyAcceleratorTable(table);

    for (const SettingsEntry& setting : SettingsTable)
        EXPECT_NE(std::string::npos, page.str().find(std::string("<code>") + setting.name + "</code>")) << setting.name;
}
