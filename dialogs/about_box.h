// The About box: icon, version, and two links (mail and web page) that open
// through the shell and keep their "followed" colour across runs.
#pragma once
#include <windows.h>

void RunAboutBox(HWND owner);

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Window procedure of the two link statics: the hand cursor over them, the
// static class's behaviour otherwise.
LRESULT CALLBACK LinkStaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Colours of a link not yet followed and of one followed.
constexpr COLORREF LinkColour = 0x00FF0000;
constexpr COLORREF FollowedLinkColour = 0x00800080;
