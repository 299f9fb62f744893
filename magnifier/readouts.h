// The live readouts: timer 2, the mouse position and the colour under it in
// the status bar, follow mode, and the cursor shape read for the view to draw.
#pragma once
#include <windows.h>

#include <functional>
#include <vector>

#include "app/controls.h"
#include "magnifier/chrome.h"
#include "magnifier/zoom_view.h"

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
    // The view that follow mode moves, and the status bar the texts go to.
    LiveReadouts(ZoomView& view, const StatusBar& statusBar);
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
    // A new colour under the mouse: its text in the colour pane, the swatch
    // redrawn in it.
    void showColour(COLORREF colour);
    // The texts at once, for a status bar shown again.
    void refreshReadouts();
    // The colour under the mouse as the readout has it, for the colour copy.
    COLORREF colourUnderMouse();
    // The colour under the mouse as the readouts last showed it.
    COLORREF lastColour() const { return colour_; }
    // Forgets it, for a status bar made anew: the next tick fills its panes.
    void forgetColour();
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
    // The coordinate and colour texts for this mouse position; the colour
    // under it when a sample of this tick read it already.
    void showReadouts(POINT cursor, bool capturedNow, const COLORREF* known = nullptr);
    // Reads the square the tool wants around the mouse and feeds it; false
    // when it wants none there or it cannot be read. The mouse's own pixel
    // is given back.
    bool feedSample(POINT cursor, bool capturedNow, COLORREF& atCursor);

    ZoomView& view;
    const StatusBar& statusBar;
    HWND window = nullptr;
    COLORREF colour_ = 0;
    // The coordinate text last sent to the status bar, and that bar.
    char coordsShown[64] = "";
    HWND coordsShownIn = nullptr;
    // The status bar whose link pane the readouts made owner-drawn.
    HWND linkShownIn = nullptr;
    bool readoutTimerRuns = false;
    SampleFeed feed_;
    bool feeding = false;
    std::vector<COLORREF> samplePixels;
};
