// The Save As dialog of image output, with its "Save Zoomed Image" check box.
#pragma once
#include <windows.h>

#include <string>

// Asks for the file to save to, starting in the folder, with the check box
// set as `zoomed` says. False when cancelled; else the file name (of at most
// `size` bytes), the check box's state and whether the file is to be a PNG.
bool AskSaveFileName(HWND owner, const char* initialDirectory, bool& zoomed, bool& png, char* file, DWORD size);

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
