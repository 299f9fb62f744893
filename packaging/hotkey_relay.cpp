// scopella-hotkey.exe --copy-colour | --copy-view, behind the Linux install's
// `scopella --copy-colour` and `scopella --copy-view`: has the running
// Scopella do what its colour or bitmap hotkey does. Under Wine a Win32
// program gets no keys while an X program has the focus, so the desktop binds
// its own keys to these commands. The copy counts as done only when the
// clipboard changed and Scopella's window owns it. Exit codes:
//   0  the copy is on the clipboard
//   1  Scopella is not running
//   2  a wrong argument
//   3  Scopella did not answer
//   4  Scopella copied nothing (standard error says why: its window is
//      minimised, the clipboard is in use by another program, or the screen
//      could not be read)
// scopella-hotkey.exe --notice TEXT shows the text in a message box of
// Scopella's, for the launcher's notes to users who see no terminal; exit
// code 0 once it was read, 5 when it could not be shown.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "base/owned_handle.h"
#include "imaging/hotkeys.h"

namespace {

// Why the window's copy left the clipboard as it was.
const char* whyNothingWasCopied(HWND window)
{
    if (IsIconic(window))
        return "its window is minimised";  // a minimised view shows, and so captures, nothing
    // Opened for a window of this program's own, as Scopella opens it: Wine
    // lets a second opening without a window through while another program
    // holds the clipboard open without one.
    const OwnedWindow own(
        CreateWindowExA(0, "STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
    if (!OpenClipboard(own))
        return "the clipboard is in use by another program";
    CloseClipboard();
    return "it could not read the screen";
}

int showNotice(const char* text)
{
    return MessageBoxA(nullptr, text, "Scopella", MB_OK | MB_ICONWARNING | MB_SETFOREGROUND) ? 0 : 5;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && strcmp(argv[1], "--notice") == 0)
        return showNotice(argv[2]);
    int id = 0;
    if (argc == 2 && strcmp(argv[1], "--copy-colour") == 0)
        id = ColourHotkeyId;
    else if (argc == 2 && strcmp(argv[1], "--copy-view") == 0)
        id = BitmapHotkeyId;
    if (id == 0) {
        fputs("usage: scopella --copy-colour | --copy-view\n", stderr);
        return 2;
    }
    const HWND window = FindWindowA("ScopellaMainWnd", nullptr);
    if (!window) {
        fputs("Scopella is not running: start it first, then copy with it.\n", stderr);
        return 1;
    }
    // Sent, not posted: the window has copied, or failed to, when the call
    // returns. The window's answer says nothing of that (a real hotkey only
    // beeps on failure), so the clipboard itself is asked.
    const DWORD before = GetClipboardSequenceNumber();
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(window, WM_HOTKEY, static_cast<WPARAM>(id), 0, SMTO_ABORTIFHUNG, 5000, &answer)) {
        fputs("Scopella did not answer.\n", stderr);
        return 3;
    }
    if (GetClipboardSequenceNumber() != before && GetClipboardOwner() == window)
        return 0;
    fprintf(stderr, "Scopella copied nothing: %s.\n", whyNothingWasCopied(window));
    return 4;
}
