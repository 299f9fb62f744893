// The two system-wide hotkeys of the main window: id 1 copies the magnified
// bitmap, id 2 the colour text under the mouse.
#pragma once
#include <windows.h>

enum : int { BitmapHotkeyId = 1, ColourHotkeyId = 2 };

// Registers both hotkeys from the settings for the window, after dropping
// those registered before. Each is registered on its own: one taken by
// another program does not cost the other.
void RegisterHotkeys(HWND window);

// Drops exactly the hotkeys that are registered for the window.
void UnregisterHotkeys(HWND window);

// Hotkey-control modifier bits (HOTKEYF_*) in RegisterHotKey's form (MOD_*).
UINT ToSystemModifiers(UINT hotkeyModifiers);
