// The Options dialog: loading the controls from the settings, checking and
// storing them on OK, the grid colour picker, and context help per control.
#include "dialogs/options_dialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include <initializer_list>

#include "base/globals.h"
#include "dialogs/dialog_controls.h"
#include "dialogs/help.h"
#include "resources/resource_ids.h"

namespace {

// Grid colour while the dialog is open; the Colour button changes it, OK
// stores it.
COLORREF workingGridColour = 0;

// Rates are shown and entered as updates per second and stored as periods:
// the shortest period gives the highest rate.
constexpr UINT MaxRate = 1000 / MinUpdatePeriod;

UINT ratePerSecond(int period)
{
    return period > 0 ? 1000 / static_cast<UINT>(period) : 0;
}

bool hasHelp(int id);
void initDialog(HWND dialog)
{
    workingGridColour = Settings.GridColor;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(c);
        if (hasHelp(id) && !GetWindowContextHelpId(c))
            SetWindowContextHelpId(c, OPTIONS_HELP_BASE + id);
    }
    for (int spin : {IDC_SLOW_SPIN, IDC_MEDIUM_SPIN, IDC_FAST_SPIN})
        UpDown(dialog, spin).setRange(1, MaxRate);
    UpDown(dialog, IDC_GRID_SPIN).setRange(1, MaxGridSize);

    NumberEdit(dialog, IDC_SLOW_RATE).setNumber(ratePerSecond(Settings.Update1));
    NumberEdit(dialog, IDC_MEDIUM_RATE).setNumber(ratePerSecond(Settings.Update2));
    NumberEdit(dialog, IDC_FAST_RATE).setNumber(ratePerSecond(Settings.Update3));
    NumberEdit(dialog, IDC_GRID_SIZE).setNumber(static_cast<UINT>(Settings.GridSize));

    CheckButton(dialog, IDC_SHOW_CURSOR).setChecked(Settings.DisplayMouseWhenFollowing);
    CheckButton(dialog, IDC_SINGLE_INSTANCE).setChecked(Settings.SingleInstance);
    CheckButton(dialog, IDC_RELATIVE_COORDS).setChecked(Settings.RelativeCoords);
    CheckButton(dialog, IDC_TRANSPARENT).setChecked(Settings.Transparent);
    CheckButton(dialog, IDC_OS_CURSOR).setChecked(Settings.bUseOSCursor);
    CheckRadioButton(dialog, IDC_COLOUR_RGB, IDC_COLOUR_HEX,
                     Settings.DisplayRGBColourPanel ? IDC_COLOUR_RGB : IDC_COLOUR_HEX);

    HotkeyControl(dialog, IDC_COLOUR_HOTKEY)
        .setHotkey(static_cast<BYTE>(Settings.nHotKeyColourVK), static_cast<BYTE>(Settings.nHotKeyColourModifiers));
    HotkeyControl(dialog, IDC_BITMAP_HOTKEY)
        .setHotkey(static_cast<BYTE>(Settings.nHotKeyBitmapVK), static_cast<BYTE>(Settings.nHotKeyBitmapModifiers));
}

// Checks every field before anything is stored: an OK that fails leaves the
// settings exactly as they were, grid colour included.
bool storeSettings(HWND dialog)
{
    UINT slow = 0, medium = 0, fast = 0, gridSize = 0;
    if (!ReadNumberField(dialog, IDC_SLOW_RATE, MaxRate, IDS_INVALID_UPDATE, slow) ||
        !ReadNumberField(dialog, IDC_MEDIUM_RATE, MaxRate, IDS_INVALID_UPDATE, medium) ||
        !ReadNumberField(dialog, IDC_FAST_RATE, MaxRate, IDS_INVALID_UPDATE, fast) ||
        !ReadNumberField(dialog, IDC_GRID_SIZE, MaxGridSize, IDS_INVALID_GRID_SIZE, gridSize))
        return false;

    Settings.GridColor = workingGridColour;
    Settings.Update1 = static_cast<int>(1000 / slow);
    Settings.Update2 = static_cast<int>(1000 / medium);
    Settings.Update3 = static_cast<int>(1000 / fast);
    Settings.DisplayMouseWhenFollowing = CheckButton(dialog, IDC_SHOW_CURSOR).checked();
    Settings.DisplayRGBColourPanel = CheckButton(dialog, IDC_COLOUR_RGB).checked();
    Settings.SingleInstance = CheckButton(dialog, IDC_SINGLE_INSTANCE).checked();
    Settings.RelativeCoords = CheckButton(dialog, IDC_RELATIVE_COORDS).checked();
    Settings.Transparent = CheckButton(dialog, IDC_TRANSPARENT).checked();
    Settings.bUseOSCursor = CheckButton(dialog, IDC_OS_CURSOR).checked();
    Settings.GridSize = static_cast<int>(gridSize);

    const HotkeyControl colour(dialog, IDC_COLOUR_HOTKEY);
    Settings.nHotKeyColourVK = colour.key();
    Settings.nHotKeyColourModifiers = colour.modifiers();
    const HotkeyControl bitmap(dialog, IDC_BITMAP_HOTKEY);
    Settings.nHotKeyBitmapVK = bitmap.key();
    Settings.nHotKeyBitmapModifiers = bitmap.modifiers();
    return true;
}

// Labels and group boxes carry the id -1 (stored in a word by some templates).
bool hasHelp(int id)
{
    return id != -1 && id != 0xFFFF;
}

void showControlHelp(HWND control, UINT command, int id, DWORD helpId)
{
    const DWORD pairs[] = {static_cast<DWORD>(id), helpId, 0, 0};
    ShowHelp(control, command, reinterpret_cast<ULONG_PTR>(pairs));
}

BOOL onHelp(const HELPINFO* info)
{
    if (!info || info->iCtrlId == 0)
        return FALSE;
    showControlHelp(static_cast<HWND>(info->hItemHandle), HELP_WM_HELP, info->iCtrlId,
                    static_cast<DWORD>(info->dwContextId));
    return TRUE;
}

// The control with help under a screen point. A group box lies over the
// controls it frames, and labels carry no help: both are looked through.
HWND helpControlAt(HWND dialog, POINT point)
{
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        if (IsWindowVisible(child) && GetWindowRect(child, &r) && PtInRect(&r, point) &&
            hasHelp(static_cast<int>(GetWindowLongPtrA(child, GWLP_ID))))
            return child;
    }
    return nullptr;
}

void onContextMenu(HWND dialog, LPARAM screenPoint)
{
    const POINT point = {static_cast<short>(LOWORD(screenPoint)), static_cast<short>(HIWORD(screenPoint))};
    if (HWND control = helpControlAt(dialog, point))
        showControlHelp(control, HELP_CONTEXTMENU, static_cast<int>(GetWindowLongPtrA(control, GWLP_ID)),
                        GetWindowContextHelpId(control));
}

}  // namespace

bool RunOptionsDialog(HWND owner)
{
    // The up-down and hotkey classes are registered only on request by newer
    // common controls.
    INITCOMMONCONTROLSEX classes = {};
    classes.dwSize = sizeof(classes);
    classes.dwICC = ICC_UPDOWN_CLASS | ICC_HOTKEY_CLASS;
    InitCommonControlsEx(&classes);
    return DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(IDD_OPTIONS), owner, OptionsDialogProc, 0) == IDOK;
}

INT_PTR CALLBACK OptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        initDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_GRID_COLOUR:
            ChooseGridColour(dialog);
            return FALSE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        case IDOK:
            if (!storeSettings(dialog))
                return FALSE;
            EndDialog(dialog, IDOK);
            return TRUE;
        default:
            return FALSE;
        }
    case WM_HELP:
        return onHelp(reinterpret_cast<const HELPINFO*>(lParam));
    case WM_CONTEXTMENU:
        onContextMenu(dialog, lParam);
        return FALSE;
    default:
        return FALSE;
    }
}

bool ReadNumberField(HWND dialog, int id, UINT upper, UINT messageId, UINT& value)
{
    const NumberEdit field(dialog, id);
    if (field.number(value) && value >= 1 && value <= upper)
        return true;
    ResString message(messageId);
    MessageBoxA(dialog, message.GetText(), OptionsAppTitle.GetText(), MB_ICONERROR);
    SetFocus(field);
    return false;
}

void ChooseGridColour(HWND dialog)
{
    COLORREF customColours[16] = {};  // made afresh each time: not remembered
    CHOOSECOLORA choice = {};
    choice.lStructSize = sizeof(choice);
    choice.hwndOwner = dialog;
    choice.hInstance = reinterpret_cast<HWND>(AppInstance);
    choice.rgbResult = workingGridColour;
    choice.lpCustColors = customColours;
    choice.Flags = CC_RGBINIT | CC_PREVENTFULLOPEN | CC_SOLIDCOLOR;
    if (ChooseColorA(&choice))
        workingGridColour = choice.rgbResult;
}
