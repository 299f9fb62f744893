// The part of the screen a pop-up or tool window may take: the work area of
// the monitor nearest a rectangle.
#pragma once
#include <windows.h>

// The work area (the monitor less its task bars) of the monitor nearest the
// rectangle; the primary screen's size where monitors cannot be asked.
RECT WorkAreaNear(const RECT& r);
