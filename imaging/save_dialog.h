// The Save As dialog of image output, with its "Save Zoomed Image" check box.
// SaveImageAs and ShowImageError are operations of the main-window object,
// defined in save_dialog.cpp.
#pragma once
#include <windows.h>

#include <string>

// Hook of the dialog's child template (resource 138): the check box's state
// and its help.
UINT_PTR CALLBACK SaveDialogHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// True when the file is to be a PNG: a name ending in ".png" or ".bmp" (in
// any case) says so itself, any other follows the file type chosen in the
// dialog (its 1-based filter index).
bool SavesAsPng(const char* path, DWORD filterIndex);

// Everything up to and including the last backslash or slash of the path;
// empty when it has neither.
std::string DirectoryOf(const char* path);

// Replaces every occurrence of a character in a NUL-terminated text, in
// place; a character replaced by NUL does not end the scan.
void ReplaceChar(char* text, char from, char to);
