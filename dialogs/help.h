// The one bridge to the help viewer: every help request of the program goes
// through ShowHelp with the help file that lies beside the executable.
#pragma once
#include <windows.h>

// Context id of the help file's main topic.
constexpr DWORD HelpMainTopic = 6;

extern const char HelpFileName[];   // "Scopella.hlp"

BOOL ShowHelp(HWND window, UINT command, ULONG_PTR data);
// The directory of the running executable with its trailing backslash, or an
// empty text when the module's path cannot be read.
void ModuleDirectory(char* buffer, DWORD size);
