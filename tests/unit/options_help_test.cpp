// Context help of the Options dialog with real input: F1 on a control and a
// right click on one reach the help viewer with the control's help id.
//
// Wine's WinHelpA hands no HELP_WM_HELP or HELP_CONTEXTMENU request to a
// viewer (it returns FALSE for both), so no stand-in viewer could see them
// there; this test takes the program's WinHelpA calls at this executable's
// import table instead, which works the same on Windows.
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/globals.h"
#include "dialogs/options_dialog.h"
#include "resources/resource_ids.h"
#include "tests/unit/test_support.h"

namespace {

struct HelpCall {
    int windowId;  // the control id of the window the help is asked for
    UINT command;
    std::vector<DWORD> pairs;  // up to and with the closing (0, 0)
};

std::vector<HelpCall> helpCalls;
std::atomic<size_t> helpCallCount{0};  // what the input thread watches

BOOL WINAPI recordHelp(HWND window, LPCSTR, UINT command, ULONG_PTR data)
{
    HelpCall call{GetDlgCtrlID(window), command, {}};
    const bool pairList = command == HELP_WM_HELP || command == HELP_CONTEXTMENU;
    for (const DWORD* p = pairList ? reinterpret_cast<const DWORD*>(data) : nullptr; p; p += 2) {
        call.pairs.insert(call.pairs.end(), {p[0], p[1]});
        if (!p[0] && !p[1])
            break;
    }
    helpCalls.push_back(call);
    helpCallCount = helpCalls.size();
    return TRUE;
}

// Points this executable's import of user32's WinHelpA at recordHelp while it lives.
class WinHelpInterception {
public:
    WinHelpInterception()
    {
        const FARPROC original = GetProcAddress(GetModuleHandleA("user32.dll"), "WinHelpA");
        auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
        const auto* nt =
            reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
        const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
            for (auto* t = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk); t->u1.Function; ++t) {
                if (reinterpret_cast<FARPROC>(t->u1.Function) == original) {
                    slot = reinterpret_cast<ULONG_PTR*>(&t->u1.Function);
                    saved = *slot;
                    write(reinterpret_cast<ULONG_PTR>(&recordHelp));
                }
            }
        }
        helpCalls.clear();
        helpCallCount = 0;
    }
    ~WinHelpInterception()
    {
        if (slot)
            write(saved);
    }
    bool active() const { return slot != nullptr; }

private:
    void write(ULONG_PTR value)
    {
        DWORD protection = 0;
        VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &protection);
        *slot = value;
        VirtualProtect(slot, sizeof(*slot), protection, &protection);
    }
    ULONG_PTR* slot = nullptr;
    ULONG_PTR saved = 0;
};

void press(WORD key)
{
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

// A click at the middle of a control, once the pointer is seen there.
void click(HWND control, DWORD down, DWORD up)
{
    RECT r;
    GetWindowRect(control, &r);
    const POINT target = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    POINT at = {};
    for (int i = 0; i < 250 && !(GetCursorPos(&at) && at.x == target.x && at.y == target.y); ++i) {
        SetCursorPos(target.x, target.y);
        Sleep(20);
    }
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = down;
    input[1].mi.dwFlags = up;
    SendInput(2, input, sizeof(INPUT));
}

// Runs beside the dialog's modal loop: gives input to the dialog and waits
// for each help call, then cancels the dialog.
struct Driver {
    static DWORD WINAPI run(void* self) { return static_cast<Driver*>(self)->drive(); }

    bool waitFor(size_t calls)
    {
        for (int i = 0; i < 250 && helpCallCount < calls; ++i)
            Sleep(20);
        return helpCallCount >= calls;
    }

    DWORD drive()
    {
        HWND dialog = nullptr;
        for (int i = 0; i < 250 && !dialog; ++i) {
            dialog = FindWindowA("#32770", "Options");
            Sleep(20);
        }
        if (dialog) {
            SetForegroundWindow(dialog);
            for (int i = 0; i < 250 && GetForegroundWindow() != dialog; ++i)
                Sleep(20);
            HWND size = GetDlgItem(dialog, IDC_GRID_SIZE);
            click(size, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
            GUITHREADINFO gui = {};
            gui.cbSize = sizeof(gui);
            // The activation of the new dialog may still move the focus:
            // wait until it has stayed on the edit for a while.
            for (int i = 0, steady = 0; i < 250 && steady < 15; ++i) {
                steady = GetGUIThreadInfo(0, &gui) && gui.hwndFocus == size ? steady + 1 : 0;
                Sleep(20);
            }
            press(VK_F1);
            if (waitFor(1)) {
                click(GetDlgItem(dialog, IDC_TRANSPARENT), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
                if (waitFor(2)) {
                    click(GetDlgItem(dialog, IDC_COLOUR_RGB), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
                    waitFor(3);
                }
            }
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        }
        return 0;
    }
};

}  // namespace

class OptionsHelp : public MainWindowTest {};

TEST_F(OptionsHelp, F1AndARightClickAskForTheControlsHelp)
{
    // With a help file beside the program, help requests go to WinHelpA.
    HelpFileAt helpFile(exeFolder() + "Scopella.hlp");
    WinHelpInterception interception;
    ASSERT_TRUE(interception.active());
    Driver driver;
    HANDLE thread = CreateThread(nullptr, 0, Driver::run, &driver, 0, nullptr);
    EXPECT_FALSE(RunOptionsDialog(window()));
    WaitForSingleObject(thread, 15000);
    CloseHandle(thread);

    ASSERT_EQ(3u, helpCalls.size());
    const UINT commands[] = {HELP_WM_HELP, HELP_CONTEXTMENU, HELP_CONTEXTMENU};
    // The last control lies inside a group box and is found through it.
    const std::vector<DWORD> expected[] = {
        {IDC_GRID_SIZE, 0x808E03FA, 0, 0}, {IDC_TRANSPARENT, 0x808E03FE, 0, 0}, {IDC_COLOUR_RGB, 0x808E03EB, 0, 0}};
    // Wine gives dialog controls no context help id from the template; the
    // dialog sets them itself, so both platforms ask for the same ids.
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(commands[i], helpCalls[i].command) << i;
        EXPECT_EQ(static_cast<int>(expected[i][0]), helpCalls[i].windowId) << i;
        ASSERT_EQ(4u, helpCalls[i].pairs.size()) << i;
        EXPECT_EQ(expected[i][0], helpCalls[i].pairs[0]) << i;
        EXPECT_EQ(expected[i], helpCalls[i].pairs) << i;
    }
}
