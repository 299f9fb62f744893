// Capture arithmetic: which screen rectangle an image is read from and the
// size of the bitmap it is written into, and the read itself into a
// screen-compatible bitmap. It reads the live screen, so neither grid nor
// cursor is in the picture.
#pragma once
#include <windows.h>

#include "base/owned_handle.h"

struct CaptureArea {
    RECT source;  // screen pixels read
    int width;    // size of the bitmap
    int height;
};

// The area of an image of the view (or of the part under the selection),
// given the screen rectangle the view shows, the view's rectangle and the
// snapped selection in client coordinates (null: the whole view), and the
// zoom factor: at the view's size when zoomed, else one bitmap pixel per
// screen pixel.
CaptureArea CaptureAreaOf(const RECT& viewSource, const RECT& view, const RECT* selection, int zoom, bool zoomed);

// The screen read into a bitmap of the area's size; none for an empty area
// or when the system refuses the memory.
OwnedBitmap CaptureScreen(const CaptureArea& area);
