// The Options dialog: colour format, update rates, grid, behaviour switches
// and the two system-wide hotkeys, edited on the settings record.
#pragma once
#include <windows.h>

// Runs the dialog modally; true when it ended with OK, which stored the new
// values in the settings (the caller registers the hotkeys again).
bool RunOptionsDialog(HWND owner);

INT_PTR CALLBACK OptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Reads a number field of 1..upper. Otherwise shows the message (a string id),
// puts the focus on the field and returns false.
bool ReadNumberField(HWND dialog, int id, UINT upper, UINT messageId, UINT& value);

// Lets the user pick the grid colour being edited with the system's colour
// picker; OK stores it.
void ChooseGridColour(HWND dialog);
