// See-through windows.
#pragma once
#include <windows.h>

// Makes the window layered with the given alpha (its low byte), or plain
// again.
void setTransparency(HWND window, bool on, int alpha);
