// The frame that shows which part of the screen is magnified: a 3-pixel ring
// (black, red, black) around that area in a topmost, semi-transparent pop-up.
// It follows a drag of the zoom point, or blinks a few times on request.
#pragma once
#include "base/owned_handle.h"
#include "overlays/overlay_window.h"

class DragHighlight : public OverlayWindow {
public:
    DragHighlight();
    ~DragHighlight() override;

    // Opens the frame if needed and places it just outside the screen
    // rectangle, shown but not activated.
    void Show(RECT rect);
    // Hides and shows the frame every period; it closes at the tick after
    // `limit` ticks. Starts over when called again.
    void StartBlink(UINT period, int limit);

    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    int blinkLimit = 0;
    int blinkCount = 0;

private:
    static ATOM classAtom;
    OwnedBrush frameBrush;
    HBRUSH edgeBrush;
};
