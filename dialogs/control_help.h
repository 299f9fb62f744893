// Help for the controls of a dialog or tool window: F1 on a control
// (WM_HELP) and a right click on one (WM_CONTEXTMENU) show the pop-up of the
// control's own help id, through ShowHelp. Labels and group boxes (id -1)
// carry no help and are looked through.
#pragma once
#include <windows.h>

// WM_HELP: the pop-up of the control the request names; false when it names
// none (the window itself).
bool ShowControlHelp(const HELPINFO* info);
// WM_CONTEXTMENU at a screen point (as the message carries it): the pop-up
// of the control with help under it, if there is one.
void ShowControlHelpAt(HWND window, LPARAM screenPoint);
