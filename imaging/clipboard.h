// Handing bitmaps and texts to the clipboard.
#pragma once
#include <windows.h>

#include "base/owned_handle.h"

// Puts the bitmap on the clipboard as CF_BITMAP, which then owns it, and in
// the same opening the same picture as the registered format "PNG" when it
// can be encoded. When there is no bitmap or the clipboard refuses it, beeps,
// deletes the bitmap and gives false; a refused PNG is freed.
bool PutBitmapOnClipboard(HWND owner, OwnedBitmap bitmap);

// Puts a copy of the text on the clipboard as CF_TEXT; false when the memory
// or the clipboard cannot be had.
bool PutTextOnClipboard(HWND owner, const char* text);

// Puts the text on the clipboard as CF_UNICODETEXT and as CF_TEXT in one
// opening, so that programs of either kind (and X programs, through Wine, as
// UTF8_STRING) take it as it is; false when the memory or the clipboard
// cannot be had (nothing is then left half put).
bool PutTextOnClipboardWithUnicode(HWND owner, const char* text);
