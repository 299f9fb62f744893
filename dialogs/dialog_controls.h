// Thin typed wrappers over the controls of the program's dialogs: one line
// per control message, so that no dialog procedure casts message parameters.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "base/controls.h"

// A dialog window itself.
class DialogWindow : public Control {
public:
    using Control::Control;
    HFONT font() const { return reinterpret_cast<HFONT>(send(WM_GETFONT)); }
};

// A control of a dialog, found by its id.
class DialogControl : public Control {
public:
    using Control::Control;
    DialogControl(HWND dialog, int id) : Control(GetDlgItem(dialog, id)) {}
};

class UpDown : public DialogControl {
public:
    using DialogControl::DialogControl;
    void setRange(short lower, short upper) const { send(UDM_SETRANGE, 0, MAKELPARAM(upper, lower)); }
};

// A hotkey control: a virtual key and the control's own modifier bits (HOTKEYF_*).
class HotkeyControl : public DialogControl {
public:
    using DialogControl::DialogControl;
    void setHotkey(BYTE key, BYTE modifiers) const { send(HKM_SETHOTKEY, MAKEWORD(key, modifiers)); }
    WORD hotkey() const { return LOWORD(send(HKM_GETHOTKEY)); }
    BYTE key() const { return LOBYTE(hotkey()); }
    BYTE modifiers() const { return HIBYTE(hotkey()); }
};

// A check box or radio button.
class CheckButton : public DialogControl {
public:
    using DialogControl::DialogControl;
    bool checked() const { return send(BM_GETCHECK) == BST_CHECKED; }
    void setChecked(bool on) const { send(BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED); }
};

// An edit that holds a whole number.
class NumberEdit : public DialogControl {
public:
    NumberEdit(HWND dialog, int id) : DialogControl(dialog, id), dialog_(dialog), id_(id) {}
    void setNumber(UINT value) const { SetDlgItemInt(dialog_, id_, value, FALSE); }
    // The text read as an unsigned number; false when it is none.
    bool number(UINT& value) const
    {
        BOOL translated = FALSE;
        value = GetDlgItemInt(dialog_, id_, &translated, FALSE);
        return translated != FALSE;
    }

private:
    HWND dialog_;
    int id_;
};

// Gives a window another window procedure; returns the one it had.
inline WNDPROC subclassWindow(HWND window, WNDPROC procedure)
{
    return reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}
