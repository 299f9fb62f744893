// The colour inspector: a small tool window beside the main window, owned by
// it, that shows the colour under the mouse in six notations (each line a
// button whose text is the value; a click or Enter copies it), the mean of a
// sampled square, the contrast against a pinned colour with its WCAG
// verdicts, and a history of pinned colours. It is fed the sampled pixels
// and knows nothing else of the window that owns it; what it does not handle
// of the keys (the accelerators) it passes to its owner.
#pragma once
#include <windows.h>

#include <string>

#include "base/owned_handle.h"
#include "inspector/inspector_controls.h"
#include "inspector/inspector_settings.h"

extern const char InspectorClass[];  // "Scopella_Inspector"

class Inspector {
public:
    Inspector() = default;
    Inspector(const Inspector&) = delete;
    Inspector& operator=(const Inspector&) = delete;

    // Loads the inspector's settings, for the owner, with the controls'
    // sizes for the DPI and their font (null: the stock GUI font). The window
    // itself is made when it is first shown. The owner gets the commands the
    // inspector does not carry out itself (IDM_COLOUR_INSPECTOR when its
    // close box is clicked, the accelerators pressed in it).
    void create(HWND owner, int dpi, OwnedFont font);
    HWND handle() const { return hwnd; }
    // Whether it was open when the program last ended.
    bool wasShown() const { return settings.Shown; }
    // Shows it beside its owner (or where it was left), without taking the
    // activation, or hides it.
    void show(bool shown);
    bool shown() const { return hwnd && IsWindowVisible(hwnd); }
    // The controls' sizes and font for another DPI.
    void setDpi(int dpi, OwnedFont font);

    // The side of the square to sample around a mouse position (screen
    // coordinates): 0 while the pointer is over the inspector, which then
    // keeps the colour it shows, so that a line can be clicked.
    int sampleSideAt(POINT screen);
    // The pixels of the sampled square that lie on the screen: their mean
    // is the current colour (shown at once, or within a second while
    // it changes tick after tick).
    void showSample(const COLORREF* pixels, int count);
    COLORREF currentColour() const { return current; }
    // Writes the inspector's settings: at the owner's end (the window, if it
    // was made, has gone by then; what it holds is kept).
    void saveSettings() { settings.Save(); }
    // Pins the current colour: the contrast is measured against it, and it
    // goes to the front of the history. Saved at once.
    void pinColour();

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void onCommand(WPARAM wParam, LPARAM lParam);
    void onActivate(WPARAM wParam);
    void onMoved();
    void forget();
    bool registerClass() const;
    bool makeWindow();
    // The current colour shown now, when it waits for its second.
    void showPending();

    // What the user does with the controls
    void copyText(const std::string& text);
    void copyNotation(int index);
    void copyHistory(int index);
    void clearHistory();
    void chooseSampleSize();
    void clickFocusedButton();

    // Where the window goes when shown
    void place();

    HWND hwnd = nullptr;
    HWND owner = nullptr;
    InspectorControls controls;
    InspectorSettings settings;
    // Whether Position is where the user left the window (read, or moved).
    bool placed = false;
    // The control that had the focus when the window was last deactivated.
    HWND lastFocus = nullptr;
    COLORREF current = RGB(0, 0, 0);
    // A current colour not shown yet, and when the last one was (ms).
    bool pending = false;
    DWORD shownAt = 0;
    static constexpr DWORD ShownInterval = 1000;
};
