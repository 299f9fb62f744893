#include "tests/unit/test_support.h"

#include <winternl.h>

#include <fstream>

#include "app/startup.h"
#include "base/globals.h"
#include "window/magnifier_window.h"

void deleteSettingsKey()
{
    RegDeleteKeyA(HKEY_CURRENT_USER, SettingsKeyPath);
}

void writeSetting(const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CURRENT_USER, SettingsKeyPath, &key));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size));
    RegCloseKey(key);
}

void writeDword(const char* name, DWORD value)
{
    writeSetting(name, REG_DWORD, &value, sizeof(value));
}

StoredValue readSetting(const char* name)
{
    StoredValue v;
    HKEY key;
    if (RegOpenKeyA(HKEY_CURRENT_USER, SettingsKeyPath, &key) != ERROR_SUCCESS)
        return v;
    BYTE data[1024];
    DWORD size = sizeof(data);
    if (RegQueryValueExA(key, name, nullptr, &v.type, data, &size) == ERROR_SUCCESS) {
        v.exists = true;
        v.data.assign(data, data + size);
    }
    RegCloseKey(key);
    return v;
}

std::vector<std::string> settingNames()
{
    std::vector<std::string> names;
    HKEY key;
    if (RegOpenKeyA(HKEY_CURRENT_USER, SettingsKeyPath, &key) != ERROR_SUCCESS)
        return names;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD length = sizeof(name);
        if (RegEnumValueA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.push_back(name);
    }
    RegCloseKey(key);
    return names;
}

bool pumpMessages(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    MSG msg;
    for (;;) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                return true;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
    }
}

void MainWindowTest::SetUp()
{
    deleteSettingsKey();
    prepareRegistry();
    Settings.Load();
    Magnifier.attach(nullptr);
    Magnifier.view().setZoomPoint(Settings.ZoomPoint);
    ASSERT_TRUE(CreateMainWindow(AppInstance, SW_SHOWNORMAL));
    ASSERT_TRUE(IsWindow(Magnifier.handle()));
    pumpMessages(50);
}

void MainWindowTest::TearDown()
{
    if (Magnifier.handle() && IsWindow(Magnifier.handle())) {
        DestroyWindow(Magnifier.handle());
        pumpMessages(20);
    }
    UnregisterClassA(MainWindowClassName, AppInstance);
    Magnifier.attach(nullptr);
}

HWND MainWindowTest::window() const
{
    return Magnifier.handle();
}

DialogWatcher::DialogWatcher(const char* caption, DWORD timeoutMs) : caption(caption), timeout(timeoutMs)
{
    thread = CreateThread(nullptr, 0, run, this, 0, nullptr);
}

DialogWatcher::~DialogWatcher()
{
    wait();
    CloseHandle(thread);
}

bool DialogWatcher::wait()
{
    WaitForSingleObject(thread, timeout + 5000);
    return seen;
}

DWORD WINAPI DialogWatcher::run(void* self)
{
    auto* watcher = static_cast<DialogWatcher*>(self);
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < watcher->timeout) {
        HWND dialog = FindWindowA("#32770", watcher->caption.c_str());
        DWORD pid = 0;
        if (dialog)
            GetWindowThreadProcessId(dialog, &pid);
        if (dialog && pid == GetCurrentProcessId()) {
            char text[2048] = "";
            // The message text of a message box is its static control 0xFFFF.
            GetDlgItemTextA(dialog, 0xFFFF, text, sizeof(text));
            watcher->text = text;
            watcher->seen = true;
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            return 0;
        }
        Sleep(20);
    }
    return 0;
}

DWORD liveGdiObjects()
{
    if (const DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS))
        return count;
    // The table the process environment block points at: in Wine 65536
    // entries of 24 bytes (in 32-bit processes too), whose type byte is 0 for
    // a free entry.
    using QueryProcess = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<QueryProcess>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic = {};
    if (!query || query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof(basic), nullptr) != 0)
        return 0;
    const BYTE* peb = reinterpret_cast<const BYTE*>(basic.PebBaseAddress);
#ifdef _WIN64
    const BYTE* table = *reinterpret_cast<const BYTE* const*>(peb + 0xF8);
#else
    const BYTE* table = *reinterpret_cast<const BYTE* const*>(peb + 0x94);
#endif
    if (!table)
        return 0;
    DWORD count = 0;
    for (size_t i = 0; i < 0x10000; ++i)
        count += table[i * 24 + 14] != 0;
    return count;
}

MemoryCanvas::MemoryCanvas(int width, int height, COLORREF background) : width(width), height(height)
{
    HDC screen = GetDC(nullptr);
    dc = CreateCompatibleDC(screen);
    bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    old = SelectObject(dc, bitmap);
    HBRUSH brush = CreateSolidBrush(background);
    const RECT all = {0, 0, width, height};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
}

MemoryCanvas::~MemoryCanvas()
{
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

int MemoryCanvas::count(COLORREF colour) const
{
    int n = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            n += at(x, y) == colour;
    }
    return n;
}

std::string exeFolder()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string s = path;
    return s.substr(0, s.rfind('\\') + 1);
}

HelpFileAt::HelpFileAt(const std::string& path) : path(path)
{
    std::ofstream(path) << "help";
}

HelpFileAt::~HelpFileAt()
{
    DeleteFileA(path.c_str());
}

std::string paneText(int pane)
{
    if (Magnifier.chrome().statusBar().ownerDrawn(pane))
        return "<owner-drawn>";
    return Magnifier.chrome().statusBar().text(pane);
}
