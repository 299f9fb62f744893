// The colour inspector's child controls: made in the window they are given,
// laid out for the DPI, and shown the values they are handed (a value is the
// window text of its own control, so that screen readers and other programs
// read it). They keep the texts they were last given, since each text sent
// costs a repaint of its control, and draw the swatches and the lines. They
// know nothing of the window that holds them beyond its handle.
#pragma once
#include <windows.h>

#include <string>

#include "base/owned_handle.h"
#include "inspector/colour_math.h"
#include "inspector/inspector_settings.h"
#include "resources/resource_ids.h"

class InspectorControls {
public:
    InspectorControls() = default;
    InspectorControls(const InspectorControls&) = delete;
    InspectorControls& operator=(const InspectorControls&) = delete;

    // Makes the controls in the window, with the sample sizes listed and
    // nothing else shown yet.
    void create(HWND window);
    // The window has gone: controls made anew start with no text shown.
    void forget();
    // The sizes and font for a DPI (null: the stock GUI font), used from the
    // next layout on.
    void setDpi(int dpi, OwnedFont font);
    // Places the controls for the DPI and sizes the window around them.
    void layout();
    // The window's outer size for the DPI.
    SIZE windowSize() const;
    int scaled(int size) const { return MulDiv(size, dpi_, 96); }
    // A control by its id, from the handles kept when they were made (asking
    // the system costs a call into the server each time).
    HWND control(int id) const
    {
        return id >= FirstControlId && id < FirstControlId + ControlIdCount ? controls[id - FirstControlId] : nullptr;
    }

    // The current colour's notations and swatch, and its contrast against
    // the pinned colour, repainted in one pass.
    void showCurrent(COLORREF current, COLORREF pinned);
    void showPinned(COLORREF pinned);
    void showContrast(COLORREF current, COLORREF pinned);
    void showHistory(const COLORREF (&history)[HistoryLength]);
    void showSampleSize(int side);
    void showStatus(const std::string& text);
    // The side chosen in the list of sample sizes; 0 when none is.
    int chosenSampleSize() const;
    // A notation's line as it reads.
    const std::string& notationText(int index) const { return notationTexts[index]; }
    // Whether a current colour has been shown since the controls were made.
    bool showsColour() const { return !currentText.empty(); }

    // WM_DRAWITEM: the swatches and history places in the colours handed,
    // the lines with their texts.
    LRESULT onDrawItem(const DRAWITEMSTRUCT& item, COLORREF current, COLORREF pinned,
                       const COLORREF (&history)[HistoryLength]) const;
    // WM_CTLCOLORSTATIC: the verdicts in green or red.
    LRESULT onControlColour(HDC dc, HWND control) const;

private:
    void setText(HWND control, std::string& shown, const std::string& text);
    HFONT textFont() const;

    HWND window_ = nullptr;
    static constexpr int FirstControlId = IDC_INSPECTOR_CURRENT;
    static constexpr int ControlIdCount = IDC_INSPECTOR_HISTORY + HistoryLength - FirstControlId;
    HWND controls[ControlIdCount] = {};
    int dpi_ = 96;
    OwnedFont font_;
    // The texts the controls were last given: a text is sent only when it
    // changes.
    std::string notationTexts[NotationCount];
    std::string currentText, pinnedText, contrastText, verdictTexts[4];
    std::string passText, failText;
};
