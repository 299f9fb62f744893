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
#include "inspector/colour_math.h"
#include "inspector/inspector_settings.h"
#include "resources/resource_ids.h"

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

    // The controls (inspector_controls.cpp)
    void createControls();
    void layoutControls();
    void setText(HWND control, std::string& shown, const std::string& text);
    void showCurrent();
    void showContrast();
    void showPinned();
    void showHistory();
    void showSampleSize();
    void showStatus(const std::string& text);
    LRESULT onDrawItem(const DRAWITEMSTRUCT& item) const;
    LRESULT onControlColour(HDC dc, HWND control);
    // A control by its id, from the handles kept when they were made (asking
    // the system costs a call into the server each time).
    HWND control(int id) const
    {
        return id >= FirstControlId && id < FirstControlId + ControlIdCount ? controls[id - FirstControlId] : nullptr;
    }
    int scaled(int size) const { return MulDiv(size, dpi_, 96); }
    SIZE windowSize() const;

    // What the user does with them
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
    static constexpr int FirstControlId = IDC_INSPECTOR_CURRENT;
    static constexpr int ControlIdCount = IDC_INSPECTOR_HISTORY + HistoryLength - FirstControlId;
    HWND controls[ControlIdCount] = {};
    InspectorSettings settings;
    int dpi_ = 96;
    OwnedFont font_;
    // Whether Position is where the user left the window (read, or moved).
    bool placed = false;
    // The control that had the focus when the window was last deactivated.
    HWND lastFocus = nullptr;
    COLORREF current = RGB(0, 0, 0);
    // A current colour not shown yet, and when the last one was (ms).
    bool pending = false;
    DWORD shownAt = 0;
    static constexpr DWORD ShownInterval = 1000;
    // The texts the controls were last given: a text is sent only when it
    // changes, since each costs a repaint of its control.
    std::string notationTexts[NotationCount];
    std::string currentText, pinnedText, contrastText, verdictTexts[4];
    std::string passText, failText;
};
