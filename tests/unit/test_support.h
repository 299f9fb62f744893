// Helpers shared by the in-process tests.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

// Registry of the program's settings key.
void deleteSettingsKey();
void writeSetting(const char* name, DWORD type, const void* data, DWORD size);
void writeDword(const char* name, DWORD value);
struct StoredValue {
    bool exists = false;
    DWORD type = 0;
    std::vector<BYTE> data;
};
StoredValue readSetting(const char* name);
std::vector<std::string> settingNames();

// The text of a status-bar pane of the main window, or "<owner-drawn>".
std::string paneText(int pane);

// Handles messages for the given time (or until WM_QUIT, which it reports).
bool pumpMessages(DWORD milliseconds);

// The main window of this process, created through the program's own
// start-up code, and destroyed with its class after each test.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Runs after the registry was cleared and before the settings are loaded
    // and the window is created.
    virtual void prepareRegistry() {}
    HWND window() const;
};

// Watches for a message box (or any dialog) with the given caption in this
// process from a second thread, records its text and presses its first button.
class DialogWatcher {
public:
    explicit DialogWatcher(const char* caption, DWORD timeoutMs = 10000);
    ~DialogWatcher();
    // Waits for the watcher to finish; true when a dialog was seen.
    bool wait();
    std::string text;

private:
    static DWORD WINAPI run(void* self);
    std::string caption;
    DWORD timeout;
    HANDLE thread;
    bool seen = false;
};

// GDI objects this process holds now: GetGuiResources where the platform
// counts them; Wine's returns 0, so there the entries in use of the process's
// GDI handle table are counted. 0 when neither is available.
DWORD liveGdiObjects();

// A memory device context holding a bitmap of the given size filled with one
// colour, for drawing code to draw into.
class MemoryCanvas {
public:
    MemoryCanvas(int width, int height, COLORREF background);
    ~MemoryCanvas();
    MemoryCanvas(const MemoryCanvas&) = delete;
    MemoryCanvas& operator=(const MemoryCanvas&) = delete;

    COLORREF at(int x, int y) const { return GetPixel(dc, x, y); }
    // How many pixels have the colour.
    int count(COLORREF colour) const;

    HDC dc;
    const int width;
    const int height;

private:
    HBITMAP bitmap;
    HGDIOBJ old;
};

// The folder of this test program, with its closing backslash.
std::string exeFolder();

// A help file (any content) that lies at the path for the life of the object:
// with it, help requests go to the help viewer.
class HelpFileAt {
public:
    explicit HelpFileAt(const std::string& path);
    ~HelpFileAt();
    HelpFileAt(const HelpFileAt&) = delete;
    HelpFileAt& operator=(const HelpFileAt&) = delete;

private:
    std::string path;
};
