// The controls around the view: rebar, toolbar, trackbars, status bar. The
// main window's part of them is spread over chrome.cpp (creation and
// notifications), tool_band.cpp, status_bar.cpp, menu_prompts.cpp,
// system_menu.cpp, always_on_top.cpp and help_freshness.cpp.
#pragma once
#include <windows.h>
#include <commctrl.h>

// The common-controls library whose version decides between a rebar and a bare
// toolbar. Only tests point it elsewhere, to play an older library.
extern const char* commonControlsLibrary;

HRESULT getCommonControlsVersion(DWORD* major, DWORD* minor);
bool getFileWriteTime(const char* fileName, FILETIME* time);

// Name of an update rate (1 None, 2 Slow, 3 Medium, 4 Fast).
const char* updateRateName(int rate);

// A toolbar button's tooltip text, asked for with TTN_NEEDTEXTA or W.
void fillToolbarTip(NMHDR* header);

// A click on the status bar: the link pane opens the maker's web page.
void openClickedLink(const NMMOUSE& click);
