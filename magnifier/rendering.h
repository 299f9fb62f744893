// Drawing the magnified picture into the view.
#pragma once
#include <windows.h>

// The 256-entry palette of explicit hardware indices used while painting, or
// null when its memory cannot be had (painting then goes without a palette).
HPALETTE createViewPalette();
