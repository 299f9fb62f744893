// Window placement and transparency.
#pragma once
#include <windows.h>

// Makes the window layered with the given alpha (its low byte), or plain
// again. The layered-window function is looked up at every call, so the
// program also runs where the platform lacks it.
void setTransparency(HWND window, bool on, int alpha);

// Where a rectangle lies after moving it inside the screen area: the right
// (bottom) edge wins for a window wider (taller) than the area.
RECT keepRectOnScreen(const RECT& r, int left, int top, int width, int height);

// The normal rectangle of a window placement in screen coordinates (the
// placement gives it relative to the work area of the window's monitor).
RECT normalRectOnScreen(HWND window, const RECT& workspaceRect);
