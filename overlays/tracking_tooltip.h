// A tip window of the program's own that shows one line of text with the
// program's small icon next to a drag in progress: what the drag of the zoom
// point does, or the size of the selection being dragged.
#pragma once
#include "overlays/overlay_window.h"

class TrackingToolTip : public OverlayWindow {
public:
    TrackingToolTip() = default;
    ~TrackingToolTip() override;

    // Opens the tip, hidden at 0 x 0, owned by the given window.
    void Create(HWND owner);
    // Opens the tip if needed, sizes it to the text and puts its bottom-left
    // corner at the screen point (x, y), shown but not activated.
    void Show(HWND owner, int x, int y, const char* text);

    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    char text[256] = "";

private:
    void paint(HWND window);

    static ATOM classAtom;
};
