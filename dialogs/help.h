// The one bridge to help: every help request of the program goes through
// ShowHelp. With the help file "Scopella.hlp" beside the executable the
// request goes to the help viewer; without it the program answers itself:
// pop-up topics in a pop-up window, the main topic as the help page
// "Scopella.html" beside the executable, opened in the user's browser.
#pragma once
#include <windows.h>

// Context id of the help file's main topic.
constexpr DWORD HelpMainTopic = 6;

extern const char HelpFileName[];  // "Scopella.hlp"
extern const char HelpPageName[];  // "Scopella.html"

BOOL ShowHelp(HWND window, UINT command, ULONG_PTR data);
// The directory of the running executable with its trailing backslash, or an
// empty text when the module's path cannot be read.
void ModuleDirectory(char* buffer, DWORD size);
