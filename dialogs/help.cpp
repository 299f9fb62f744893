#include "dialogs/help.h"

#include "app/globals.h"

const char HelpFileName[] = "Scopella.hlp";

namespace {
const char HelpWindowSuffix[] = ">NormWin";  // the help file's window definition
constexpr DWORD HelpPathSize = 520;
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
    lstrcatA(path, HelpWindowSuffix);
    return WinHelpA(window, path, command, data);
}
