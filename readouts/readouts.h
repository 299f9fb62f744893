// The live readouts: timer 2, the mouse position and the colour under it
// handed to the chrome's status bar, follow mode, and the cursor shape read
// for the view to draw.
#pragma once
#include <windows.h>

#include "chrome/chrome.h"
#include "view/zoom_view.h"

// Timer of the readouts, and its period.
enum : UINT_PTR { ReadoutTimer = 2 };
constexpr UINT ReadoutPeriod = 100;  // ms

class LiveReadouts {
public:
    // The view that follow mode moves, and the chrome whose status bar shows
    // the readouts.
    LiveReadouts(ZoomView& view, WindowChrome& chrome);
    LiveReadouts(const LiveReadouts&) = delete;
    LiveReadouts& operator=(const LiveReadouts&) = delete;

    // The window whose timer 2 drives the readouts.
    void attach(HWND timerWindow) { window = timerWindow; }
    // One tick of timer 2; no follow mode while a selection is under way.
    // True when follow mode painted a fresh picture in the tick.
    bool readoutTick(bool selectionUnderWay);
    // Runs timer 2 while anything uses the readout tick.
    void syncReadoutTimer();
    // Whether the status bar shows the readouts (it exists and is shown).
    bool readoutsShown() const;
    // The readouts at once, for a status bar shown again.
    void refreshReadouts();
    // The colour under the mouse as the readout has it, for the colour copy.
    COLORREF colourUnderMouse();
    // The colour under the mouse as the readouts last read it.
    COLORREF lastColour() const { return colour_; }

private:
    // The mouse position for a tick; the cursor's shape with it when the view
    // draws the system's cursor.
    bool readCursor(POINT& position);
    // The coordinates and the colour for this mouse position, to the chrome.
    void showReadouts(POINT cursor, bool capturedNow);

    ZoomView& view;
    WindowChrome& chrome;
    HWND window = nullptr;
    COLORREF colour_ = 0;
    bool readoutTimerRuns = false;
};
