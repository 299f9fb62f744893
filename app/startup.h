// Process start-up: the main window class, the main window, the single-instance
// rule, start-up error reports and the message loop.
#pragma once
#include <windows.h>

bool CreateMainWindow(HINSTANCE instance, int showCommand);
ATOM RegisterMainWindowClass(HINSTANCE instance);
bool ActivatePreviousInstance();
void ReportLastError(HWND owner, const char* caption);
LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Runs until WM_QUIT; returns its exit code.
int RunMessageLoop(HACCEL accelerators);

extern const char MainWindowClassName[];
