#include "dialogs/help.h"

#include <shellapi.h>

#include "base/globals.h"
#include "base/res_string.h"
#include "dialogs/help_popup.h"
#include "dialogs/help_texts.h"

const char HelpFileName[] = "Scopella.hlp";
const char HelpPageName[] = "Scopella.html";

namespace {
const char HelpWindowSuffix[] = ">NormWin";  // the help file's window definition
constexpr DWORD HelpPathSize = 520;

bool isFile(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The help page beside the executable, in the user's browser. A page that
// cannot be opened beeps, as a link that cannot be opened does.
BOOL openHelpPage(HWND window)
{
    char path[HelpPathSize];
    ModuleDirectory(path, sizeof(path) - sizeof(HelpPageName));
    lstrcatA(path, HelpPageName);
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(window, "open", path, nullptr, nullptr, SW_SHOWNORMAL));
    if (result > 32)
        return TRUE;
    MessageBeep(0);
    return FALSE;
}

BOOL showPopupTopic(HWND owner, DWORD helpId, const RECT& anchor)
{
    const UINT textId = HelpTextId(helpId);
    if (!textId) {
        CloseHelpPopup();
        return FALSE;
    }
    ResString text(textId);
    return ShowHelpPopup(owner, text.GetText(), anchor) ? TRUE : FALSE;
}

RECT pointerAnchor()
{
    POINT p = {0, 0};
    GetCursorPos(&p);
    return RECT{p.x, p.y, p.x + 1, p.y + 1};
}

// Help asked for a control: at the pointer when the pointer is on the control
// (a right click, a click in help mode), otherwise (F1, "What's This?") below
// the control.
RECT controlAnchor(HWND control)
{
    RECT r = {0, 0, 0, 0};
    GetWindowRect(control, &r);
    POINT p = {0, 0};
    if (GetCursorPos(&p) && PtInRect(&r, p) && GetKeyState(VK_F1) >= 0)
        return pointerAnchor();
    return r;
}

// The program's own answer to a help request when no help file is installed.
BOOL showOwnHelp(HWND window, UINT command, ULONG_PTR data)
{
    switch (command) {
    case HELP_CONTEXT:
    case HELP_CONTENTS:
    case HELP_FINDER:
        return openHelpPage(window);
    case HELP_CONTEXTPOPUP:
        return showPopupTopic(window, static_cast<DWORD>(data), pointerAnchor());
    case HELP_WM_HELP:
    case HELP_CONTEXTMENU: {
        DWORD helpId = 0;
        if (!window || !FindHelpId(reinterpret_cast<const DWORD*>(data), GetDlgCtrlID(window), helpId)) {
            CloseHelpPopup();
            return FALSE;
        }
        return showPopupTopic(window, helpId, controlAnchor(window));
    }
    case HELP_QUIT:
        CloseHelpPopup();
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

void ModuleDirectory(char* buffer, DWORD size)
{
    if (size == 0)
        return;
    DWORD length = GetModuleFileNameA(ModuleHandle, buffer, size);
    if (length == 0 || length >= size) {
        // No path, or one cut short by the buffer: nothing trustworthy to keep.
        buffer[0] = '\0';
        return;
    }
    char* end = buffer + length;
    while (end > buffer && end[-1] != '\\')
        --end;
    *end = '\0';
}

BOOL ShowHelp(HWND window, UINT command, ULONG_PTR data)
{
    char path[HelpPathSize];
    ModuleDirectory(path, sizeof(path) - sizeof(HelpFileName) - sizeof(HelpWindowSuffix));
    lstrcatA(path, HelpFileName);
    if (!isFile(path))
        return showOwnHelp(window, command, data);
    lstrcatA(path, HelpWindowSuffix);
    return WinHelpA(window, path, command, data);
}
