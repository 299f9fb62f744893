// The two system-wide hotkeys, registered from the settings. Each id is
// registered on its own and remembered, so that a key combination another
// program holds costs only its own hotkey, and exactly the registered ones
// are dropped again.
#include "imaging/hotkeys.h"

#include <commctrl.h>

#include "base/globals.h"

namespace {

// The window each hotkey id is registered for (index id - 1), or null.
HWND registeredFor[2] = {nullptr, nullptr};

void registerOne(HWND window, int id, int virtualKey, int modifiers)
{
    // A key of 0 is a hotkey the user cleared: there is nothing to register.
    if (virtualKey == 0)
        return;
    if (RegisterHotKey(window, id, ToSystemModifiers(static_cast<UINT>(modifiers)), static_cast<UINT>(virtualKey)))
        registeredFor[id - 1] = window;
}

}  // namespace

UINT ToSystemModifiers(UINT hotkeyModifiers)
{
    UINT modifiers = 0;
    if (hotkeyModifiers & HOTKEYF_SHIFT)
        modifiers |= MOD_SHIFT;
    if (hotkeyModifiers & HOTKEYF_CONTROL)
        modifiers |= MOD_CONTROL;
    if (hotkeyModifiers & HOTKEYF_ALT)
        modifiers |= MOD_ALT;
    return modifiers;
}

void RegisterHotkeys(HWND window)
{
    UnregisterHotkeys(window);
    registerOne(window, BitmapHotkeyId, Settings.nHotKeyBitmapVK, Settings.nHotKeyBitmapModifiers);
    registerOne(window, ColourHotkeyId, Settings.nHotKeyColourVK, Settings.nHotKeyColourModifiers);
}

void UnregisterHotkeys(HWND window)
{
    for (int id = BitmapHotkeyId; id <= ColourHotkeyId; ++id) {
        if (registeredFor[id - 1] == window && window) {
            UnregisterHotKey(window, id);
            registeredFor[id - 1] = nullptr;
        }
    }
}
