// Helpers for the tests of the magnified view: sizing the main window so that
// its view has an exact size, marking the view to see whether a paint came,
// and counting this process's GDI objects.
#pragma once
#include <windows.h>

#include "tests/unit/test_support.h"

// A main-window test with settings that keep the view still while the test
// pumps messages: no follow mode, no auto-update.
// The window is moved to the lower right, away from the screen area the
// tests magnify (the top left quarter).
class QuietViewTest : public MainWindowTest {
protected:
    void SetUp() override;
    void prepareRegistry() override;
    // Called by prepareRegistry after the quiet settings are written.
    virtual void moreSettings() {}
};

// Resizes the main window so that the view rectangle (client less the shown
// bars) is width x height. Fails the test when the platform refuses the size.
void sizeViewTo(int width, int height);

// The client height that leaves the view with the given height (may be
// negative: the bars then overlap).
int clientHeightForView(int height);

// Fills the whole client area with a colour no screen pixel is likely to have,
// and tells whether the view still shows it at a client point.
constexpr COLORREF MarkColour = RGB(0x13, 0x57, 0x9b);
void markClient();
COLORREF clientPixel(int x, int y);
bool viewStillMarked();
