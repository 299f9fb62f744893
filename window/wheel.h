// The mouse wheel: Shift steps the transparency, Ctrl the zoom (the window's
// OnMouseWheel); the old wheel drivers' message.
#pragma once
#include <windows.h>

// The opacity after one Shift+wheel step (down when `down`), in steps of 30
// within 10..255.
int wheelTransparencyStep(int transparency, bool down);

// Turns the old wheel drivers' message into WM_MOUSEWHEEL and offers it to the
// window with the keyboard focus, then to its parents until one takes it (or
// to `window` when nothing has the focus).
LRESULT ForwardWheelMessage(HWND window, WPARAM wParam, LPARAM lParam);
