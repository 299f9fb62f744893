// The screen as the view and the readouts read it.
#pragma once
#include <windows.h>

#include <optional>

#include "base/owned_handle.h"
#include "base/scope_guards.h"

// One display context kept while the window lives: a context fetched from
// the system for every read costs calls into the server (the visible region,
// the display configuration) and a graphics context made and freed at the
// X server each time.
class ScreenSource {
public:
    // The screen's context, made on first use; null when it cannot be had.
    HDC dc();
    // Whether a pixel copied from the screen into a bitmap compatible with it
    // keeps exactly the colour a read of the screen gives: true colour, no
    // palette.
    bool copiesExactly();
    // The pixels of a screen rectangle (screen coordinates, on the screen),
    // rows top-down, in one read; false when they cannot be had.
    bool readBlock(const RECT& area, COLORREF* pixels);
    // Drops the context, after a change of the display or at the window's end.
    void release();

private:
    OwnedDC context;
    bool exact = false;
    // The small bitmap a block is read into, kept while its size serves;
    // members end in reverse order: selected out, deleted, context deleted.
    OwnedDC blockContext;
    OwnedBitmap blockBitmap;
    std::optional<SelectedObject> blockSelection;
    const DWORD* blockBits = nullptr;
    SIZE blockSize = {0, 0};
    bool makeBlock(int width, int height);
};
