// Window placement.
#pragma once
#include <windows.h>

// Where a rectangle lies after moving it inside the screen area: the right
// (bottom) edge wins for a window wider (taller) than the area.
RECT keepRectOnScreen(const RECT& r, int left, int top, int width, int height);

// The window's normal rectangle (where it returns when restored) in screen
// coordinates. Platforms give it relative to the work area (Windows, where a
// taskbar at the top or left moves that) or to the screen (Wine); `shift` is
// the difference, measured whenever the window is neither minimised nor
// maximised and used as last measured otherwise.
RECT normalRectOnScreen(HWND window, POINT& shift);
