// The pop-up help texts of the string table, found by help context id, and
// the help id that a pair list gives a control.
#pragma once
#include <windows.h>

// String-table id of the pop-up text for a help context id; 0 when the
// program has no text for it.
UINT HelpTextId(DWORD helpId);

// The help id paired with a control id in a list of (control id, help id)
// pairs ended by a pair whose control id is 0. False when the list is null
// or holds no pair for the control.
bool FindHelpId(const DWORD* pairs, DWORD controlId, DWORD& helpId);
