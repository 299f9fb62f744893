// A help text in a small pop-up window like the old help viewer's: the
// system's info colours, a thin border, the text word-wrapped. Any click or
// key closes it; it never holds up the program.
#pragma once
#include <windows.h>

extern const char HelpPopupClass[];

// Shows the text (closing any pop-up already open) centred below the anchor
// rectangle in screen coordinates, or above it where there is no room below,
// and always within the work area of the anchor's monitor. The pop-up is
// owned by the top-level window of `owner` and leaves it the activation.
// False when the text is null or empty or no window could be made.
bool ShowHelpPopup(HWND owner, const char* text, const RECT& anchor);
// Closes the pop-up if one is open.
void CloseHelpPopup();
// The open pop-up, or null.
HWND HelpPopupWindow();
