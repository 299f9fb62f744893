// The live readouts: timer 2, the mouse position and the colour under it
// handed to the chrome's status bar, follow mode, and the cursor shape read
// for the view to draw.
#pragma once
#include <windows.h>

#include <functional>
#include <vector>

#include "chrome/chrome.h"
#include "view/zoom_view.h"

// Timer of the readouts, and its period.
enum : UINT_PTR { ReadoutTimer = 2 };
constexpr UINT ReadoutPeriod = 100;  // ms

// A tool beside the status bar that the tick feeds with the pixels around
// the mouse (the colour inspector).
struct SampleFeed {
    // The side of the square it wants around a mouse position; 0: none there.
    std::function<int(POINT)> side;
    // The square's pixels that lie on the screen, rows top-down, and their count.
    std::function<void(const COLORREF*, int)> take;
};

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
    // The tool fed with samples, and whether the tick feeds it (while it is
    // shown: the tick then runs for it alone if need be).
    void setSampleFeed(SampleFeed feed) { feed_ = std::move(feed); }
    void feedSamples(bool on);
    // One sample now, for the tool, whether the tick feeds it or not.
    void sampleNow();

private:
    // The mouse position for a tick; the cursor's shape with it when the view
    // draws the system's cursor.
    bool readCursor(POINT& position);
    // The coordinates and the colour for this mouse position, to the chrome;
    // the colour under it when a sample of this tick read it already.
    void showReadouts(POINT cursor, bool capturedNow, const COLORREF* known = nullptr);
    // Reads the square the tool wants around the mouse and feeds it; false
    // when it wants none there or it cannot be read. The mouse's own pixel
    // is given back.
    bool feedSample(POINT cursor, bool capturedNow, COLORREF& atCursor);

    ZoomView& view;
    WindowChrome& chrome;
    HWND window = nullptr;
    COLORREF colour_ = 0;
    bool readoutTimerRuns = false;
    SampleFeed feed_;
    bool feeding = false;
    std::vector<COLORREF> samplePixels;
};
