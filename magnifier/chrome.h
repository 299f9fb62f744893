// The controls around the view: rebar, toolbar, trackbars, status bar.
#pragma once
#include <windows.h>

// The common-controls library whose version decides between a rebar and a bare
// toolbar. Only tests point it elsewhere, to play an older library.
extern const char* commonControlsLibrary;

HRESULT getCommonControlsVersion(DWORD* major, DWORD* minor);
bool getFileWriteTime(const char* fileName, FILETIME* time);

// Name of an update rate (1 None, 2 Slow, 3 Medium, 4 Fast).
const char* updateRateName(int rate);
