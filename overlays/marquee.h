// The marching-ants outline of a selection: a 1-pixel ring of black and white
// dashes in a pop-up window of its own, placed over the selection, whose
// dashes crawl clockwise on the window's own timer.
#pragma once
#include "base/owned_handle.h"
#include "overlays/overlay_window.h"

class Marquee : public OverlayWindow {
public:
    Marquee() = default;
    ~Marquee() override;

    // Opens the outline hidden at 0 x 0 and starts the animation.
    void Create(HWND owner);
    // Moves, sizes and shows the outline (screen coordinates) without
    // activating it.
    void Place(int x, int y, int width, int height);
    // Stops the animation and closes the window.
    BOOL Destroy() override;

    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    // Client rectangle at the last resize to a non-empty size.
    RECT outline = {0, 0, 0, 0};
    // Brush-origin offset of the dashes: 0, 2, 4 or 6.
    int phase = 0;

private:
    void paint(HWND window);

    static ATOM classAtom;
    // Made once and kept for every later selection.
    OwnedBrush horizontalBrush;
    OwnedBrush verticalBrush;
};
