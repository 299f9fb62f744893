// Panning with the middle button, through the separate panning library.
#pragma once
#include <windows.h>

// The panning library from the last middle click (null before the first and
// after a load that failed).
extern HMODULE panningLibrary;
