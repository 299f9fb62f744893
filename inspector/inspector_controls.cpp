// The inspector's controls: the table of them at 96 DPI, their making and
// layout, the texts they are given, and the owner-drawn swatches and lines.
#include "inspector/inspector_controls.h"

#include <commctrl.h>

#include <initializer_list>
#include <utility>

#include "base/globals.h"
#include "base/scope_guards.h"

namespace {

constexpr int Label = -1;  // labels carry no id and no help

// A control as designed at 96 DPI; the order is the tab order.
struct ControlPlan {
    int id;
    const char* cls;
    DWORD style;
    UINT text;  // string id of a fixed text, or 0
    int x, y, width, height;
};

constexpr DWORD LabelStyle = SS_LEFT | SS_NOPREFIX;
constexpr DWORD ValueStyle = SS_LEFT | SS_NOPREFIX;
// The lines are buttons drawn here: a button the system draws repaints with
// its theme at every new text, many times the cost of the text itself.
constexpr DWORD LineStyle = BS_OWNERDRAW | WS_TABSTOP;
constexpr int ClientWidth = 228, ClientHeight = 354;
constexpr int HistoryTop = 264, HistoryStep = 27, HistorySide = 25, HistoryColumns = 8;

const ControlPlan Controls[] = {
    {IDC_INSPECTOR_CURRENT, "Static", SS_OWNERDRAW | WS_GROUP, 0, 6, 6, 44, 44},
    {Label, "Static", SS_CENTER, IDS_INSPECTOR_CURRENT, 2, 52, 52, 13},
    {IDC_INSPECTOR_PINNED, "Static", SS_OWNERDRAW, 0, 54, 6, 44, 44},
    {Label, "Static", SS_CENTER, IDS_INSPECTOR_PINNED, 50, 52, 52, 13},
    {Label, "Static", LabelStyle, IDS_INSPECTOR_CONTRAST, 106, 6, 60, 13},
    {IDC_INSPECTOR_CONTRAST, "Static", ValueStyle, 0, 166, 6, 56, 13},
    {Label, "Static", LabelStyle, IDS_INSPECTOR_AA, 106, 21, 60, 13},
    {IDC_INSPECTOR_AA, "Static", ValueStyle, 0, 166, 21, 56, 13},
    {Label, "Static", LabelStyle, IDS_INSPECTOR_AA_LARGE, 106, 34, 60, 13},
    {IDC_INSPECTOR_AA_LARGE, "Static", ValueStyle, 0, 166, 34, 56, 13},
    {Label, "Static", LabelStyle, IDS_INSPECTOR_AAA, 106, 47, 60, 13},
    {IDC_INSPECTOR_AAA, "Static", ValueStyle, 0, 166, 47, 56, 13},
    {Label, "Static", LabelStyle, IDS_INSPECTOR_AAA_LARGE, 106, 60, 60, 13},
    {IDC_INSPECTOR_AAA_LARGE, "Static", ValueStyle, 0, 166, 60, 56, 13},
    {IDC_INSPECTOR_HEX, "Button", LineStyle | WS_GROUP, 0, 6, 78, 216, 20},
    {IDC_INSPECTOR_CSS_RGB, "Button", LineStyle, 0, 6, 100, 216, 20},
    {IDC_INSPECTOR_DECIMAL, "Button", LineStyle, 0, 6, 122, 216, 20},
    {IDC_INSPECTOR_HSL, "Button", LineStyle, 0, 6, 144, 216, 20},
    {IDC_INSPECTOR_HSV, "Button", LineStyle, 0, 6, 166, 216, 20},
    {IDC_INSPECTOR_FRACTIONS, "Button", LineStyle, 0, 6, 188, 216, 20},
    {Label, "Static", SS_LEFT | WS_GROUP, IDS_INSPECTOR_SAMPLE, 6, 217, 46, 13},
    {IDC_INSPECTOR_SAMPLE, "ComboBox", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, 54, 214, 60, 150},
    {IDC_INSPECTOR_PIN, "Button", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, IDS_INSPECTOR_PIN, 162, 213, 60, 22},
    {IDC_INSPECTOR_CLEAR, "Button", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, IDS_INSPECTOR_CLEAR, 162, 240, 60, 20},
    {Label, "Static", LabelStyle | WS_GROUP, IDS_INSPECTOR_HISTORY, 6, 245, 100, 13},
};
constexpr int StatusTop = HistoryTop + HistoryStep + HistorySide + 6;

const int VerdictIds[4] = {IDC_INSPECTOR_AA, IDC_INSPECTOR_AA_LARGE, IDC_INSPECTOR_AAA, IDC_INSPECTOR_AAA_LARGE};

void fillSwatch(HDC dc, const RECT& r, COLORREF colour)
{
    OwnedBrush brush(CreateSolidBrush(colour & 0x00FFFFFF));
    if (brush)
        FillRect(dc, &r, brush);
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

}  // namespace

void InspectorControls::create(HWND window)
{
    window_ = window;
    ResString pass(IDS_INSPECTOR_PASS), fail(IDS_INSPECTOR_FAIL);
    passText = pass.TextOrEmpty();
    failText = fail.TextOrEmpty();
    auto make = [this](int id, const char* cls, DWORD style, const char* text) {
        HWND c = CreateWindowExA(0, cls, text ? text : "", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, window_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), AppInstance, nullptr);
        if (id >= FirstControlId && id < FirstControlId + ControlIdCount)
            controls[id - FirstControlId] = c;
        if (c && id != Label)
            SetWindowContextHelpId(c, INSPECTOR_HELP_BASE + (id >= IDC_INSPECTOR_HISTORY ? IDC_INSPECTOR_HISTORY : id));
    };
    for (const ControlPlan& plan : Controls) {
        ResString text(plan.text);
        make(plan.id, plan.cls, plan.style, plan.text ? text.GetText() : nullptr);
    }
    for (int i = 0; i < HistoryLength; ++i)
        make(IDC_INSPECTOR_HISTORY + i, "Button", BS_OWNERDRAW | (i == 0 ? WS_TABSTOP | WS_GROUP : 0), nullptr);
    make(IDC_INSPECTOR_STATUS, "Static", SS_LEFT | SS_NOPREFIX | WS_GROUP, nullptr);

    HWND sizes = control(IDC_INSPECTOR_SAMPLE);
    ResString format(IDS_INSPECTOR_SIDE);
    for (int side = MinSampleSide; side <= MaxSampleSide; side += 2) {
        char text[32];
        wsprintfA(text, format.GetText() ? format.GetText() : "%dx%d", side, side);
        SendMessageA(sizes, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
}

void InspectorControls::forget()
{
    window_ = nullptr;
    for (HWND& c : controls)
        c = nullptr;
    for (std::string* text : {&currentText, &pinnedText, &contrastText})
        text->clear();
    for (std::string& text : notationTexts)
        text.clear();
    for (std::string& text : verdictTexts)
        text.clear();
}

void InspectorControls::setDpi(int dpi, OwnedFont font)
{
    dpi_ = dpi;
    font_ = std::move(font);
}

HFONT InspectorControls::textFont() const
{
    return font_ ? font_.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

SIZE InspectorControls::windowSize() const
{
    RECT r = {0, 0, scaled(ClientWidth), scaled(ClientHeight)};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_EXSTYLE)));
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void InspectorControls::layout()
{
    const HFONT font = textFont();
    auto put = [&](int id, int x, int y, int width, int height, HWND c) {
        if (!c)
            c = control(id);
        MoveWindow(c, scaled(x), scaled(y), scaled(width), scaled(height), FALSE);
        SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    };
    // Labels share their id: they are walked in the order they were made.
    HWND child = GetWindow(window_, GW_CHILD);
    for (const ControlPlan& plan : Controls) {
        put(plan.id, plan.x, plan.y, plan.width, plan.height, child);
        child = child ? GetWindow(child, GW_HWNDNEXT) : nullptr;
    }
    for (int i = 0; i < HistoryLength; ++i) {
        put(IDC_INSPECTOR_HISTORY + i, 6 + HistoryStep * (i % HistoryColumns), HistoryTop + HistoryStep * (i / HistoryColumns),
            HistorySide, HistorySide, nullptr);
    }
    put(IDC_INSPECTOR_STATUS, 6, StatusTop, ClientWidth - 12, 26, nullptr);
    const SIZE size = windowSize();
    SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window_, nullptr, TRUE);
}

// A text is kept as shown only when a control took it: a colour pinned
// before the window is made must still reach the controls made later.
void InspectorControls::setText(HWND c, std::string& shown, const std::string& text)
{
    if (!c || (shown == text && !shown.empty()))
        return;
    shown = text;
    SetWindowTextA(c, text.c_str());
}

void InspectorControls::showCurrent(COLORREF current, COLORREF pinned)
{
    for (int i = 0; i < NotationCount; ++i)
        setText(control(IDC_INSPECTOR_HEX + i), notationTexts[i], formatColour(current, static_cast<Notation>(i)));
    const std::string hex = formatColour(current, Notation::Hex);
    if (hex != currentText) {
        setText(control(IDC_INSPECTOR_CURRENT), currentText, hex);
        InvalidateRect(control(IDC_INSPECTOR_CURRENT), nullptr, FALSE);
    }
    showContrast(current, pinned);
    // The lines and the swatch repaint together, in one pass: each paint
    // taken from the queue on its own costs the window a transfer to the
    // screen of its own.
    if (window_)
        RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void InspectorControls::showPinned(COLORREF pinned)
{
    setText(control(IDC_INSPECTOR_PINNED), pinnedText, formatColour(pinned, Notation::Hex));
    InvalidateRect(control(IDC_INSPECTOR_PINNED), nullptr, FALSE);
}

void InspectorControls::showContrast(COLORREF current, COLORREF pinned)
{
    const double ratio = contrastRatio(current, pinned);
    setText(control(IDC_INSPECTOR_CONTRAST), contrastText, formatContrast(ratio));
    const ContrastVerdicts v = judgeContrast(ratio);
    const bool passes[4] = {v.aa, v.aaLarge, v.aaa, v.aaaLarge};
    for (int i = 0; i < 4; ++i)
        setText(control(VerdictIds[i]), verdictTexts[i], passes[i] ? passText : failText);
}

void InspectorControls::showHistory(const COLORREF (&history)[HistoryLength])
{
    for (int i = 0; i < HistoryLength; ++i) {
        HWND place = control(IDC_INSPECTOR_HISTORY + i);
        const COLORREF colour = history[i];
        SetWindowTextA(place, colour == NoColour ? "" : formatColour(colour, Notation::Hex).c_str());
        ShowWindow(place, colour == NoColour ? SW_HIDE : SW_SHOWNA);
        InvalidateRect(place, nullptr, FALSE);
    }
}

void InspectorControls::showSampleSize(int side)
{
    SendMessageA(control(IDC_INSPECTOR_SAMPLE), CB_SETCURSEL, static_cast<WPARAM>((side - MinSampleSide) / 2), 0);
}

int InspectorControls::chosenSampleSize() const
{
    const LRESULT index = SendMessageA(control(IDC_INSPECTOR_SAMPLE), CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? 0 : MinSampleSide + 2 * static_cast<int>(index);
}

void InspectorControls::showStatus(const std::string& text)
{
    SetWindowTextA(control(IDC_INSPECTOR_STATUS), text.c_str());
}

LRESULT InspectorControls::onDrawItem(const DRAWITEMSTRUCT& item, COLORREF current, COLORREF pinned,
                                      const COLORREF (&history)[HistoryLength]) const
{
    // Known by their ids (Wine has been seen to fill CtlType with garbage).
    const UINT id = item.CtlID;
    if (id == IDC_INSPECTOR_CURRENT || id == IDC_INSPECTOR_PINNED) {
        fillSwatch(item.hDC, item.rcItem, id == IDC_INSPECTOR_CURRENT ? current : pinned);
        return TRUE;
    }
    if (id >= IDC_INSPECTOR_HEX && id < IDC_INSPECTOR_HEX + NotationCount) {
        RECT r = item.rcItem;
        DrawFrameControl(item.hDC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (item.itemState & ODS_SELECTED ? DFCS_PUSHED : 0));
        InflateRect(&r, -scaled(4), -scaled(2));
        SelectedObject font(item.hDC, textFont());
        const int mode = SetBkMode(item.hDC, TRANSPARENT);
        const COLORREF colour = SetTextColor(item.hDC, GetSysColor(COLOR_BTNTEXT));
        const std::string& text = notationTexts[id - IDC_INSPECTOR_HEX];
        DrawTextA(item.hDC, text.c_str(), static_cast<int>(text.size()), &r,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SetTextColor(item.hDC, colour);
        SetBkMode(item.hDC, mode);
        if (item.itemState & ODS_FOCUS)
            DrawFocusRect(item.hDC, &r);
        return TRUE;
    }
    if (id >= IDC_INSPECTOR_HISTORY && id < IDC_INSPECTOR_HISTORY + HistoryLength) {
        const COLORREF colour = history[id - IDC_INSPECTOR_HISTORY];
        FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
        RECT r = item.rcItem;
        InflateRect(&r, -2, -2);
        if (colour != NoColour)
            fillSwatch(item.hDC, r, colour);
        if (item.itemState & ODS_FOCUS) {
            RECT focus = item.rcItem;
            DrawFocusRect(item.hDC, &focus);
        }
        return TRUE;
    }
    return FALSE;
}

LRESULT InspectorControls::onControlColour(HDC dc, HWND c) const
{
    const LRESULT brush = DefWindowProcA(window_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(c));
    const int id = GetDlgCtrlID(c);
    for (int i = 0; i < 4; ++i) {
        if (id == VerdictIds[i]) {
            SetTextColor(dc, verdictTexts[i] == passText ? RGB(0, 112, 0) : RGB(176, 0, 0));
        }
    }
    return brush;
}
