// Thin typed wrappers over the common controls of the main window: one line
// per control message, so that no caller casts message parameters itself.
// Each wrapper is a window handle and converts to one.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

class Control {
public:
    Control(HWND window = nullptr) : window_(window) {}
    operator HWND() const { return window_; }
    HWND handle() const { return window_; }

protected:
    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return SendMessageA(window_, message, wParam, lParam);
    }
    void attach(HWND window) { window_ = window; }

private:
    HWND window_;
};

class StatusBar : public Control {
public:
    using Control::Control;
    // flags: SBT_NOBORDERS, SBT_OWNERDRAW (then text is the item data), ...
    void setText(int pane, const char* text, UINT flags = 0) const
    {
        send(SB_SETTEXTA, static_cast<WPARAM>(pane) | flags, reinterpret_cast<LPARAM>(text));
    }
    void setOwnerDrawn(int pane, LPARAM itemData) const { send(SB_SETTEXTA, SBT_OWNERDRAW | pane, itemData); }
    // The drawing flags of a pane's text (SBT_NOBORDERS, SBT_OWNERDRAW, ...).
    WORD textFlags(int pane) const { return HIWORD(send(SB_GETTEXTLENGTHA, pane)); }
    bool ownerDrawn(int pane) const { return (textFlags(pane) & SBT_OWNERDRAW) != 0; }
    // A pane's text; empty for an owner-drawn pane, which holds item data.
    std::string text(int pane) const
    {
        if (ownerDrawn(pane))
            return std::string();
        std::string text(LOWORD(send(SB_GETTEXTLENGTHA, pane)) + 1u, '\0');
        send(SB_GETTEXTA, pane, reinterpret_cast<LPARAM>(&text[0]));
        text.resize(lstrlenA(text.c_str()));
        return text;
    }
    // Pane 0 as menu help: without borders, as the simple text of a menu bar.
    void setMenuHelp(const char* text) const { setText(0, text, SBT_NOBORDERS); }
    void setParts(int count, const int* rightEdges) const
    {
        send(SB_SETPARTS, count, reinterpret_cast<LPARAM>(rightEdges));
    }
    // The right edges of up to `count` panes; the number of panes.
    int parts(int count, int* rightEdges) const
    {
        return static_cast<int>(send(SB_GETPARTS, count, reinterpret_cast<LPARAM>(rightEdges)));
    }
    bool paneRect(int pane, RECT& rect) const { return send(SB_GETRECT, pane, reinterpret_cast<LPARAM>(&rect)) != 0; }
    void setFont(HFONT font, bool redraw = false) const
    {
        send(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
    }
    HFONT font() const { return reinterpret_cast<HFONT>(send(WM_GETFONT)); }
};

class Toolbar : public Control {
public:
    using Control::Control;
    void setTooltips(HWND tooltips) const { send(TB_SETTOOLTIPS, reinterpret_cast<WPARAM>(tooltips)); }
    void addButtons(const TBBUTTON* buttons, int count) const
    {
        send(TB_ADDBUTTONSA, count, reinterpret_cast<LPARAM>(buttons));
    }
    void setIndent(int pixels) const { send(TB_SETINDENT, pixels); }
    bool buttonRect(UINT command, RECT& rect) const
    {
        return send(TB_GETRECT, command, reinterpret_cast<LPARAM>(&rect)) != 0;
    }
    void setState(UINT command, BYTE state) const { send(TB_SETSTATE, command, MAKELPARAM(state, 0)); }
    // TBSTATE_* bits of a button; -1 when there is no such button.
    int state(UINT command) const { return static_cast<int>(send(TB_GETSTATE, command)); }
    bool checked(UINT command) const { return send(TB_ISBUTTONCHECKED, command) != 0; }
    void check(UINT command, bool on) const { send(TB_CHECKBUTTON, command, MAKELPARAM(on ? TRUE : FALSE, 0)); }
    // Index of the button under a point in the toolbar's client coordinates;
    // negative when there is none.
    int hitTest(POINT point) const { return static_cast<int>(send(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&point))); }
    bool button(int index, TBBUTTON& button) const
    {
        return send(TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button)) != 0;
    }
};

class Trackbar : public Control {
public:
    using Control::Control;
    void setRange(int low, int high, bool redraw = true) const
    {
        send(TBM_SETRANGE, redraw ? TRUE : FALSE, MAKELPARAM(low, high));
    }
    void setPos(int position, bool redraw = true) const { send(TBM_SETPOS, redraw ? TRUE : FALSE, position); }
    int pos() const { return static_cast<int>(send(TBM_GETPOS)); }
    int thumbLength() const { return static_cast<int>(send(TBM_GETTHUMBLENGTH)); }
    void setThumbLength(int length) const { send(TBM_SETTHUMBLENGTH, length); }
};

class Rebar : public Control {
public:
    using Control::Control;
    bool insertBand(const REBARBANDINFOA& band, int index = -1) const
    {
        return send(RB_INSERTBANDA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&band)) != 0;
    }
    int bandCount() const { return static_cast<int>(send(RB_GETBANDCOUNT)); }
    // The band's fields that band.fMask asks for (cbSize set by the caller).
    bool band(int index, REBARBANDINFOA& band) const
    {
        return send(RB_GETBANDINFOA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&band)) != 0;
    }
};
