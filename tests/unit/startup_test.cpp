// Start-up: the main window class and window, the saved placement, the
// single-instance rule and the error report of a failed start.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "app/startup.h"
#include "base/globals.h"
#include "resources/resource_ids.h"
#include "tests/unit/test_support.h"
#include "window/magnifier_window.h"

namespace {

std::string systemText(DWORD code)
{
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&text), 0, nullptr);
    std::string s = text ? text : "";
    LocalFree(text);
    return s;
}

// A message-box text may lose its trailing line break in the control.
std::string trimmed(std::string s)
{
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' '))
        s.pop_back();
    return s;
}

// Registers another class under the program's class name, as a running
// instance (or anything else) may have done.
void registerClassOfTheSameName()
{
    WNDCLASSA other = {};
    other.lpfnWndProc = DefWindowProcA;
    other.hInstance = AppInstance;
    other.lpszClassName = "ScopellaMainWnd";
    ASSERT_NE(0, RegisterClassA(&other));
}

class DefaultPlacement : public MainWindowTest {};

class SavedPlacement : public MainWindowTest {
    void prepareRegistry() override
    {
        const RECT r = {100, 120, 700, 520};
        writeSetting("WindowPos", REG_BINARY, &r, sizeof(r));
    }
};

}  // namespace

TEST_F(DefaultPlacement, WindowHasItsClassTitleAndDefaultSize)
{
    HWND found = FindWindowA("ScopellaMainWnd", nullptr);
    EXPECT_EQ(window(), found);
    char title[64] = "";
    GetWindowTextA(window(), title, sizeof(title));
    EXPECT_STREQ("Scopella", title);
    RECT r;
    GetWindowRect(window(), &r);
    EXPECT_EQ(450, r.right - r.left);
    EXPECT_EQ(250, r.bottom - r.top);
    EXPECT_TRUE(IsWindowVisible(window()));
    EXPECT_TRUE(GetWindowLongPtrA(window(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_EQ(static_cast<LONG_PTR>(WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPSIBLINGS),
              GetWindowLongPtrA(window(), GWL_STYLE) & (WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPSIBLINGS));
}

TEST_F(DefaultPlacement, ClassHasDoubleClicksNoBackgroundAndTheIcon)
{
    EXPECT_EQ(static_cast<ULONG_PTR>(CS_DBLCLKS | CS_BYTEALIGNCLIENT), GetClassLongPtrA(window(), GCL_STYLE));
    EXPECT_EQ(0u, GetClassLongPtrA(window(), GCLP_HBRBACKGROUND));
    EXPECT_NE(0u, GetClassLongPtrA(window(), GCLP_HICON));
    EXPECT_NE(0u, GetClassLongPtrA(window(), GCLP_HICONSM));
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(LoadCursorA(nullptr, IDC_ARROW)), GetClassLongPtrA(window(), GCLP_HCURSOR));
}

TEST_F(SavedPlacement, WindowOpensAtTheSavedRectangle)
{
    RECT r;
    GetWindowRect(window(), &r);
    EXPECT_EQ(100, r.left);
    EXPECT_EQ(120, r.top);
    EXPECT_EQ(700, r.right);
    EXPECT_EQ(520, r.bottom);
}

TEST(ReportLastError, ShowsTheSystemTextWithTheCaption)
{
    DialogWatcher watcher("Scopella");
    SetLastError(ERROR_FILE_NOT_FOUND);
    ReportLastError(nullptr, "Scopella");
    ASSERT_TRUE(watcher.wait());
    EXPECT_EQ(trimmed(systemText(ERROR_FILE_NOT_FOUND)), trimmed(watcher.text));
    EXPECT_FALSE(trimmed(watcher.text).empty());
}

TEST(CreateMainWindow, FailedClassRegistrationIsReported)
{
    // Another class of the same name makes the program's registration fail.
    registerClassOfTheSameName();
    deleteSettingsKey();
    Settings.Load();

    DialogWatcher watcher("Scopella");
    EXPECT_FALSE(CreateMainWindow(AppInstance, SW_SHOWNORMAL));
    ASSERT_TRUE(watcher.wait());
    EXPECT_EQ(trimmed(systemText(ERROR_CLASS_ALREADY_EXISTS)), trimmed(watcher.text));
    EXPECT_EQ(nullptr, FindWindowA("ScopellaMainWnd", nullptr));
    UnregisterClassA("ScopellaMainWnd", AppInstance);
}

TEST(CreateMainWindow, SingleInstanceBringsTheRunningWindowBack)
{
    // Plays the running instance: a minimised window of the program's class.
    registerClassOfTheSameName();
    HWND running = CreateWindowA("ScopellaMainWnd", "Scopella", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, nullptr, nullptr,
                                 AppInstance, nullptr);
    ASSERT_NE(nullptr, running);
    ShowWindow(running, SW_SHOWMINIMIZED);
    ASSERT_TRUE(IsIconic(running));

    deleteSettingsKey();
    const BYTE on = 1;
    writeSetting("SingleInstance", REG_BINARY, &on, 1);
    Settings.Load();
    EXPECT_FALSE(CreateMainWindow(AppInstance, SW_SHOWNORMAL));
    pumpMessages(100);
    EXPECT_FALSE(IsIconic(running));
    EXPECT_EQ(nullptr, Magnifier.handle());

    DestroyWindow(running);
    UnregisterClassA("ScopellaMainWnd", AppInstance);
    deleteSettingsKey();
}

TEST(Accelerators, TableMapsKeysToCommands)
{
    HACCEL table = LoadAcceleratorsA(AppInstance, MAKEINTRESOURCEA(IDA_MAIN));
    ASSERT_NE(nullptr, table);
    ACCEL entries[32];
    const int count = CopyAcceleratorTableA(table, entries, 32);
    struct Expected {
        BYTE flags;
        WORD key;
        WORD command;
    } expected[] = {
        {FCONTROL, 'A', IDM_ABOUT},
        {FCONTROL, 'C', IDM_COPY_ZOOMED},
        {FCONTROL | FSHIFT, 'C', IDM_COPY_ORIGINAL},
        {FCONTROL, 'G', IDM_TOGGLE_GRID},
        {FCONTROL, 'H', IDM_HIGHLIGHT},
        {FCONTROL, 'I', IDM_COLOUR_INSPECTOR},
        {FCONTROL, 'M', IDM_FOLLOW_MOUSE},
        {FCONTROL, 'O', IDM_OPTIONS},
        {FCONTROL, 'P', IDM_PIN_COLOUR},
        {FCONTROL, 'S', IDM_SAVE_IMAGE},
        {FCONTROL, 'T', IDM_ALWAYS_ON_TOP},
        {FCONTROL | FSHIFT, 'T', IDM_TOGGLE_TRANSPARENT},
        {0, VK_ADD, IDM_ZOOM_IN},
        {FCONTROL, VK_ADD, IDM_RATE_UP},
        {FSHIFT, VK_F10, IDM_CONTEXT_MENU},
        {FALT, VK_F4, IDM_CLOSE},
        {0, VK_SUBTRACT, IDM_ZOOM_OUT},
        {FCONTROL, VK_SUBTRACT, IDM_RATE_DOWN},
    };
    ASSERT_EQ(18, count);
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(FVIRTKEY | FNOINVERT | expected[i].flags, entries[i].fVirt & ~0x80) << i;
        EXPECT_EQ(expected[i].key, entries[i].key) << i;
        EXPECT_EQ(expected[i].command, entries[i].cmd) << i;
    }
}
