// The main-window object as a whole: construction, destruction and the
// dispatch of the main window's messages, with the handlers that belong to the
// window itself (destroy, size, focus, paint, system keys and commands).
#include "window/magnifier_window.h"

#include "base/dpi.h"
#include "base/globals.h"
#include "base/scope_guards.h"
#include "dialogs/about_box.h"
#include "dialogs/help.h"
#include "imaging/hotkeys.h"
#include "resources/resource_ids.h"
#include "window/placement.h"
#include "window/wheel.h"

namespace {

// The signed 16-bit x and y that mouse messages carry in lParam.
POINT pointOf(LPARAM lParam)
{
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

// A window of this process (false for null and for a window that is gone).
bool isOwnWindow(HWND window)
{
    DWORD process = 0;
    return window && GetWindowThreadProcessId(window, &process) && process == GetCurrentProcessId();
}

// Posted by the window to itself when a dialog or message box it owned has
// ended, to be handled once that dialog's modal loop has returned.
constexpr UINT DialogEndedMessage = WM_APP;

}  // namespace

MagnifierWindow Magnifier;

MagnifierWindow::MagnifierWindow()
    : view_(chrome_), mouse_(view_, chrome_), readouts_(view_, chrome_), output_(view_, readouts_, mouse_)
{
}

// The window's parts, made in the order in which they need one another; the
// switches of the settings applied to them.
bool MagnifierWindow::onCreate()
{
    RegisterHotkeys(hwnd);
    view_.attach(hwnd, LoadCursorA(AppInstance, MAKEINTRESOURCEA(IDC_VIEW_ARROW)));
    mouse_.attach(hwnd);
    readouts_.attach(hwnd);
    output_.attach(hwnd);
    applyTransparency();
    chrome_.create(hwnd, view_.zoomFactor());
    inspector_.create(hwnd, chrome_.dpi(), OwnedFont(createGuiFontForDpi(chrome_.dpi())));
    readouts_.setSampleFeed({[this](POINT at) { return inspector_.sampleSideAt(at); },
                             [this](const COLORREF* pixels, int count) { inspector_.showSample(pixels, count); }});
    checkHelpFreshness();
    setUpdateRate(Settings.Update, true);

    applyAlwaysOnTop();
    syncGridButton();
    applyToolbarVisibility();
    applyStatusbarVisibility();
    readouts_.syncReadoutTimer();
    appendSystemMenuItems();
    showInspector(inspector_.wasShown());
    return true;
}

LRESULT MagnifierWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return onCreate() ? 0 : -1;
    case WM_DESTROY:
        onDestroy();
        return 0;
    case WM_SIZE:
        onSize(wParam, LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_ACTIVATE:
        onActivate(wParam, lParam);
        return 0;
    case WM_MOUSEACTIVATE:
        takeFocusBack();
        break;
    case WM_ENABLE:
        // Every modal dialog and message box the window owns disables it
        // while it runs. Enabled again, the dialog is ending; when it was
        // the active window then, the window takes the focus back.
        if (wParam && isOwnWindow(GetForegroundWindow())) {
            dialogEnded = true;
            PostMessageA(hwnd, DialogEndedMessage, 0, 0);
        }
        return 0;
    case DialogEndedMessage:
        onDialogEnded();
        return 0;
    case WM_SETFOCUS:
        view_.repaintView();
        return 0;
    case WM_KILLFOCUS:
        onKillFocus(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_PAINT:
        onPaint();
        return 0;
    case WM_ERASEBKGND:
        return 0;  // the view covers the whole area
    case WM_WININICHANGE:
        keepOnScreen();
        view_.layoutAndRepaint();
        return 0;
    case WM_CANCELMODE:
        mouse_.EndPointPick();
        return 0;
    case WM_CAPTURECHANGED:
        // Another window took the pointer from a drag: the drag ends as on a
        // cancel, or the view would stay frozen in it.
        if (reinterpret_cast<HWND>(lParam) != hwnd)
            mouse_.EndPointPick();
        return 0;
    case WM_MOUSEMOVE:
        onMouseMove(pointOf(lParam));
        return 0;
    case WM_LBUTTONDOWN:
        mouse_.OnLButtonDown();
        return 0;
    case WM_LBUTTONUP:
        mouse_.OnLButtonUp();
        return 0;
    case WM_RBUTTONDOWN:
        mouse_.OnRButtonDown(pointOf(lParam));
        return 0;
    case WM_RBUTTONUP:
        mouse_.OnRButtonUp(pointOf(lParam));
        return 0;
    case WM_CONTEXTMENU:
        if (mouse_.ShowContextMenu(pointOf(lParam)))
            return 0;
        break;
    case WM_SETCURSOR:
        if (chrome_.OnSetCursor())
            return TRUE;
        break;
    case WM_DRAWITEM:
        return chrome_.OnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_NOTIFY:
        return chrome_.OnNotify(reinterpret_cast<const NMHDR*>(lParam));
    case WM_HELP:
        ShowHelp(hwnd, HELP_CONTEXT, HelpMainTopic);
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(static_cast<UINT>(wParam));
        return 0;
    case WM_SYSKEYDOWN:
        onSysKeyDown();
        return 0;
    case WM_COMMAND:
        if (OnCommand(LOWORD(wParam)))
            return 0;
        break;
    case WM_SYSCOMMAND:
        return onSysCommand(wParam, lParam);
    case WM_TIMER:
        return OnTimer(wParam);
    case WM_HSCROLL:
        return OnHScroll(wParam, reinterpret_cast<HWND>(lParam));
    case WM_HOTKEY:
        output_.OnHotkey(wParam);
        return 0;
    case WM_MENUSELECT:
        chrome_.OnMenuSelect(wParam, lParam);
        return 0;
    case WM_MBUTTONDOWN:
        mouse_.OnMiddleButtonDown(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
    case WM_MOUSEWHEEL:
        OnMouseWheel(wParam);
        return 0;
    case WM_DPICHANGED:
        onDpiChanged(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_DISPLAYCHANGE:
        onDisplayChange();
        return 0;
    default:
        return onRegisteredMessage(message, wParam, lParam);
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// Messages registered at run time: the old wheel drivers' and the panning
// library's (0 when not registered, which never matches).
LRESULT MagnifierWindow::onRegisteredMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (wheelRollMessage != 0 && message == wheelRollMessage)
        return ForwardWheelMessage(hwnd, wParam, lParam);
    if (originUpdateMessage != 0 && message == originUpdateMessage) {
        onOriginUpdate(lParam);
        return 1;
    }
    if (originEndMessage != 0 && message == originEndMessage)
        mouse_.OnPanningEnd();
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// A panning step: lParam points at the two steps (dx, dy). The message id is
// known to every program, which may send or post it with any lParam, so the
// steps are read in a way that fails, rather than crashes, on an address that
// is not readable.
void MagnifierWindow::onOriginUpdate(LPARAM steps)
{
    int step[2];
    SIZE_T read = 0;
    if (steps &&
        ReadProcessMemory(GetCurrentProcess(), reinterpret_cast<const void*>(steps), step, sizeof(step), &read) &&
        read == sizeof(step))
        view_.moveZoomPoint(step[0], step[1]);
}

void MagnifierWindow::onDisplayChange()
{
    // The screen's context and the paint's buffers are made anew for the new
    // display on the next read.
    view_.release();
    // The screen changed size (Wine sends no settings change then): the
    // window and the zoom geometry follow, as on a settings change.
    keepOnScreen();
    view_.layoutAndRepaint();
}

void MagnifierWindow::onDestroy()
{
    // The normal rectangle: a maximised or minimised state is not kept.
    Settings.WindowPos = normalRectOnScreen(hwnd, placementShift);
    Settings.ZoomPoint = view_.zoomPoint();
    inspector_.saveSettings();
    PostQuitMessage(0);
    ShowHelp(hwnd, HELP_QUIT, 0);
    UnregisterHotkeys(hwnd);
    view_.release();
}

void MagnifierWindow::onSize(WPARAM kind, int width, int height)
{
    if (kind == SIZE_RESTORED)
        normalRectOnScreen(hwnd, placementShift);  // keeps the shift up to date
    if (kind == SIZE_MINIMIZED || width == 0 || height == 0)
        return;
    view_.layoutAndRepaint();
    chrome_.setStatusParts();
}

void MagnifierWindow::onActivate(WPARAM wParam, LPARAM lParam)
{
    DefWindowProcA(hwnd, WM_ACTIVATE, wParam, lParam);
    if (LOWORD(wParam) != WA_INACTIVE)
        takeFocusBack();
}

// The window in front with no keyboard focus in its thread takes the focus:
// Wine, without a window manager, at times leaves none when a dialog ends,
// and the wheel and keys then reach no window.
void MagnifierWindow::takeFocusBack()
{
    if (GetForegroundWindow() == hwnd && !IsIconic(hwnd) && !GetFocus())
        SetFocus(hwnd);
}

// After a dialog or message box of its own that was active when it ended,
// the window is active with the keyboard focus again, as on Windows, unless
// another program's window became active meanwhile.
// Wine without a window manager can undo the activation the dialog's end gave
// back: when the dialog is closed before Wine has handled the X focus moving
// to it, the X focus does not come back to this window, and the late news
// that this window lost it to the dialog leaves no window active at all. So
// the focus is set anew once the dialog has gone, from a message posted when
// it ended, which sends the X server a new focus request; where no window was
// left active meanwhile, the window takes the activation back. (Under Wine an
// X program's active window looks the same as none, the desktop window in
// front: only the end of the window's own dialog makes it take activation.)
void MagnifierWindow::onDialogEnded()
{
    if (!dialogEnded || !IsWindowEnabled(hwnd))
        return;  // handled already, or another dialog of its own runs
    dialogEnded = false;
    const HWND front = GetForegroundWindow();
    if (IsIconic(hwnd) || (IsWindow(front) && front != GetDesktopWindow() && !isOwnWindow(front)))
        return;
    if (front == hwnd)
        SetFocus(nullptr);  // so that the focus below is set anew
    else
        SetForegroundWindow(hwnd);
    SetFocus(hwnd);
}

void MagnifierWindow::onKillFocus(HWND gainingFocus)
{
    // A child control (trackbar, toolbar) never keeps the keyboard focus, so
    // keys and accelerators always reach the main window.
    if (gainingFocus && IsChild(hwnd, gainingFocus))
        SetFocus(hwnd);
}

void MagnifierWindow::onMouseMove(POINT client)
{
    takeFocusBack();  // the wheel over the view goes where the focus is
    mouse_.OnMouseMove(client);
}

// A system key (Alt, F10) ends the drags and the selection: its menu loop
// would leave them hanging.
void MagnifierWindow::onSysKeyDown()
{
    mouse_.CancelSelection();
    mouse_.EndPointPick();
}

void MagnifierWindow::onPaint()
{
    // When only the auto-update made the view invalid, the view is validated
    // and drawn through the window's cached context: a paint context costs
    // many more calls into both servers (update and visible region, caret,
    // a graphics context made and freed). Anything else still invalid brings
    // another paint message, which takes the full path.
    if (onlyViewInvalid) {
        onlyViewInvalid = false;
        ValidateRgn(hwnd, view_.region());
        view_.repaintView();
        return;
    }
    PaintDC dc(hwnd);
    if (dc)
        view_.paintView(dc);
}

// The two items the window adds to its system menu; everything else is the
// system's.
LRESULT MagnifierWindow::onSysCommand(WPARAM wParam, LPARAM lParam)
{
    switch (wParam & 0xFFF0) {
    case IDM_SYS_ABOUT:
        RunAboutBox(hwnd);
        return 0;
    case IDM_SYS_OPTIONS:
        runOptions();
        return 0;
    case IDM_SYS_INSPECTOR:
        showInspector(!inspector_.shown());
        return 0;
    default:
        return DefWindowProcA(hwnd, WM_SYSCOMMAND, wParam, lParam);
    }
}
