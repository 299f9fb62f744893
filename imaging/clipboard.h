// Handing bitmaps to the clipboard. The copy commands, the colour text and
// the hotkey dispatch are operations of the main-window object, defined in
// clipboard.cpp.
#pragma once
#include <windows.h>

#include "app/owned_handle.h"

// Puts the bitmap on the clipboard as CF_BITMAP, which then owns it, and in
// the same opening the same picture as the registered format "PNG" when it
// can be encoded. When there is no bitmap or the clipboard refuses it, beeps,
// deletes the bitmap and gives false; a refused PNG is freed.
bool PutBitmapOnClipboard(HWND owner, OwnedBitmap bitmap);
