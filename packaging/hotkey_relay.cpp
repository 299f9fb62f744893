// scopella-hotkey.exe --copy-colour | --copy-view, behind the Linux install's
// `scopella --copy-colour` and `scopella --copy-view`: has the running
// Scopella do what its colour or bitmap hotkey does. Under Wine a Win32
// program gets no keys while an X program has the focus, so the desktop binds
// its own keys to these commands. Exit code 0 when done, 1 when Scopella is
// not running, 2 for a wrong argument, 3 when Scopella did not answer.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "imaging/hotkeys.h"

int main(int argc, char** argv)
{
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
    // Sent, not posted: the command ends when the copy is on the clipboard.
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(window, WM_HOTKEY, static_cast<WPARAM>(id), 0, SMTO_ABORTIFHUNG, 5000, &answer)) {
        fputs("Scopella did not answer.\n", stderr);
        return 3;
    }
    return 0;
}
