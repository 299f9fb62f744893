// The inspector window as a whole: its making, showing and placing beside
// the owner, its messages, and what the user does with it (copy, pin, clear,
// the sample size). It shows them through InspectorControls.
#include "inspector/inspector.h"

#include <cstring>
#include <utility>

#include "base/globals.h"
#include "base/work_area.h"
#include "dialogs/control_help.h"
#include "dialogs/help.h"
#include "imaging/clipboard.h"
#include "resources/resource_ids.h"

const char InspectorClass[] = "Scopella_Inspector";

namespace {

constexpr int OwnerGap = 4;  // between the main window and the inspector, at 96 DPI

int within(int v, int low, int high)
{
    return v > high ? (high > low ? high : low) : (v < low ? low : v);
}

}  // namespace

bool Inspector::registerClass() const
{
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExA(AppInstance, InspectorClass, &existing))
        return true;
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = windowProc;
    wc.hInstance = AppInstance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = InspectorClass;
    return RegisterClassExA(&wc) != 0;
}

void Inspector::create(HWND ownerWindow, int dpi, OwnedFont font)
{
    owner = ownerWindow;
    settings.Load();
    placed = settings.WasLoaded(InspectorSettings::RowPosition);
    controls.setDpi(dpi, std::move(font));
}

// Made on first use: a start without the inspector costs nothing of it.
bool Inspector::makeWindow()
{
    if (hwnd)
        return true;
    if (!owner || !registerClass())
        return false;
    ResString title(IDS_INSPECTOR_TITLE);
    // A tool window whose controls are reached with Tab (WS_EX_CONTROLPARENT
    // tells the message loop to give it the dialog keys), never transparent.
    hwnd = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_CONTEXTHELP | WS_EX_CONTROLPARENT, InspectorClass,
                           title.GetText(), WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 0, 0, 0, 0, owner,
                           nullptr, AppInstance, this);
    if (!hwnd)
        return false;
    controls.create(hwnd);
    controls.showSampleSize(settings.SampleSize);
    controls.showCurrent(current, settings.Pinned);
    controls.showPinned(settings.Pinned);
    controls.showHistory(settings.History);
    controls.layout();
    return true;
}

void Inspector::setDpi(int dpi, OwnedFont font)
{
    controls.setDpi(dpi, std::move(font));
    if (hwnd)
        controls.layout();
}

void Inspector::show(bool on)
{
    settings.Shown = on;
    if (on ? !makeWindow() : !hwnd)
        return;
    if (on == shown())
        return;
    if (!on) {
        // The keys go back to the main window rather than to nowhere.
        const bool active = GetActiveWindow() == hwnd;
        ShowWindow(hwnd, SW_HIDE);
        if (active)
            SetActiveWindow(owner);
        return;
    }
    place();
    // Above the owner, in its band when the owner is topmost.
    const bool topmost = (GetWindowLongPtrA(owner, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    SetWindowPos(hwnd, topmost ? HWND_TOPMOST : HWND_TOP, settings.Position.x, settings.Position.y, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

// Where the user left it, when that is still on a monitor; otherwise right
// of the owner, or left of it where there is no room on the right, within
// the owner's monitor.
void Inspector::place()
{
    const SIZE size = controls.windowSize();
    RECT r = {settings.Position.x, settings.Position.y, settings.Position.x + size.cx, settings.Position.y + size.cy};
    if (placed && MonitorFromRect(&r, MONITOR_DEFAULTTONULL))
        return;
    RECT o = {0, 0, 0, 0};
    GetWindowRect(owner, &o);
    const RECT work = WorkAreaNear(o);
    const int gap = controls.scaled(OwnerGap);
    int x = o.right + gap;
    if (x + size.cx > work.right && o.left - gap - size.cx >= work.left)
        x = o.left - gap - size.cx;
    settings.Position.x = within(x, work.left, work.right - size.cx);
    settings.Position.y = within(o.top, work.top, work.bottom - size.cy);
}

void Inspector::onMoved()
{
    RECT r;
    if (IsWindowVisible(hwnd) && !IsIconic(hwnd) && GetWindowRect(hwnd, &r)) {
        settings.Position = POINT{r.left, r.top};
        placed = true;
    }
}

int Inspector::sampleSideAt(POINT screen)
{
    RECT r;
    if (!shown() || !GetWindowRect(hwnd, &r) || !PtInRect(&r, screen))
        return settings.SampleSize;
    // The pointer came over the inspector: the colour it stays with is the
    // last one read.
    showPending();
    return 0;
}

void Inspector::showPending()
{
    if (pending) {
        pending = false;
        controls.showCurrent(current, settings.Pinned);
    }
}

void Inspector::showSample(const COLORREF* pixels, int count)
{
    const COLORREF colour = meanColour(pixels, count > 0 ? static_cast<std::size_t>(count) : 0);
    if (colour == current && !pending && controls.showsColour())
        return;
    // A colour that changes tick after tick (the mouse moving) is shown at
    // most once a second: nobody reads six lines ten times a second,
    // and every line repainted costs more than the rest of the tick. The
    // first tick on which the colour stays shows it.
    const DWORD now = GetTickCount();
    if (colour != current) {
        current = colour;
        if (controls.showsColour() && now - shownAt < ShownInterval) {
            pending = true;
            return;
        }
    }
    pending = false;
    shownAt = now;
    controls.showCurrent(current, settings.Pinned);
}

void Inspector::pinColour()
{
    showPending();
    settings.Pinned = current;
    // To the front of the history; met before, it leaves its old place.
    COLORREF* history = settings.History;
    int from = HistoryLength - 1;
    for (int i = 0; i < HistoryLength; ++i) {
        if (history[i] == current) {
            from = i;
            break;
        }
    }
    std::memmove(history + 1, history, static_cast<std::size_t>(from) * sizeof(COLORREF));
    history[0] = current;
    settings.Save();
    controls.showPinned(settings.Pinned);
    controls.showContrast(current, settings.Pinned);
    controls.showHistory(settings.History);
}

void Inspector::clearHistory()
{
    for (COLORREF& colour : settings.History)
        colour = NoColour;
    settings.Save();
    controls.showHistory(settings.History);
}

void Inspector::copyText(const std::string& text)
{
    char message[256];
    if (PutTextOnClipboardWithUnicode(hwnd, text.c_str())) {
        ResString copied(IDS_INSPECTOR_COPIED);
        wsprintfA(message, copied.GetText() ? copied.GetText() : "%s", text.c_str());
    } else {
        MessageBeep(0);
        ResString busy(IDS_INSPECTOR_NOT_COPIED);
        lstrcpynA(message, busy.TextOrEmpty(), sizeof(message));
    }
    controls.showStatus(message);
}

void Inspector::copyNotation(int index)
{
    settings.LastNotation = index;
    settings.Save();
    copyText(controls.notationText(index));  // the line as it reads
}

void Inspector::copyHistory(int index)
{
    const COLORREF colour = settings.History[index];
    if (colour != NoColour)
        copyText(formatColour(colour, static_cast<Notation>(settings.LastNotation)));
}

void Inspector::chooseSampleSize()
{
    const int side = controls.chosenSampleSize();
    if (side == 0)
        return;
    settings.SampleSize = side;
    settings.Save();
}

// Enter on a line (the dialog keys send IDOK when no button is the
// default): the line the focus is on is clicked.
void Inspector::clickFocusedButton()
{
    HWND focus = GetFocus();
    char cls[16] = "";
    if (focus && IsChild(hwnd, focus) && GetClassNameA(focus, cls, sizeof(cls)) && lstrcmpiA(cls, "Button") == 0)
        SendMessageA(focus, BM_CLICK, 0, 0);
}

void Inspector::onCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (lParam == 0) {
        // An accelerator pressed here (code 1), or a command of the owner's
        // sent here: the owner's to carry out.
        if (id == IDOK)
            clickFocusedButton();
        else if (id == IDCANCEL || id == IDM_CLOSE)  // Esc, Alt+F4: this window only
            SendMessageA(owner, WM_COMMAND, IDM_COLOUR_INSPECTOR, 0);
        else
            SendMessageA(owner, WM_COMMAND, wParam, 0);
        return;
    }
    if (id == IDC_INSPECTOR_SAMPLE) {
        if (code == CBN_SELCHANGE)
            chooseSampleSize();
        return;
    }
    if (code != BN_CLICKED)
        return;
    if (id >= IDC_INSPECTOR_HEX && id < IDC_INSPECTOR_HEX + NotationCount)
        copyNotation(id - IDC_INSPECTOR_HEX);
    else if (id >= IDC_INSPECTOR_HISTORY && id < IDC_INSPECTOR_HISTORY + HistoryLength)
        copyHistory(id - IDC_INSPECTOR_HISTORY);
    else if (id == IDC_INSPECTOR_PIN)
        pinColour();
    else if (id == IDC_INSPECTOR_CLEAR)
        clearHistory();
}

// The window has gone: a window made anew starts with no text shown.
void Inspector::forget()
{
    hwnd = nullptr;
    pending = false;
    shownAt = 0;
    lastFocus = nullptr;
    controls.forget();
}

void Inspector::onActivate(WPARAM wParam)
{
    // The focus comes back to the control that had it.
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        lastFocus = focus && IsChild(hwnd, focus) ? focus : lastFocus;
    } else if (lastFocus && IsWindow(lastFocus) && IsChild(hwnd, lastFocus)) {
        SetFocus(lastFocus);
    } else {
        SetFocus(controls.control(IDC_INSPECTOR_HEX));
    }
}

LRESULT CALLBACK Inspector::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Inspector*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->hwnd = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Inspector*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->forget();
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return self->onMessage(message, wParam, lParam);
}

LRESULT Inspector::onMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        onCommand(wParam, lParam);
        return 0;
    case WM_CLOSE:
        // Closed as Ctrl+I closes it, so that the owner knows.
        SendMessageA(owner, WM_COMMAND, IDM_COLOUR_INSPECTOR, 0);
        return 0;
    case WM_ACTIVATE:
        onActivate(wParam);
        return 0;
    case WM_MOVE:
        onMoved();
        return 0;
    case WM_NEXTDLGCTL:
        // The dialog keys ask for the next control in the group (the arrow
        // keys) or in the tab order; labels never take the focus.
        if (HWND next = lParam ? reinterpret_cast<HWND>(wParam) : GetNextDlgTabItem(hwnd, GetFocus(), wParam != 0)) {
            char cls[16] = "";
            if (IsChild(hwnd, next) && GetClassNameA(next, cls, sizeof(cls)) && lstrcmpiA(cls, "Static") != 0)
                SetFocus(next);
        }
        return 0;
    case WM_DRAWITEM:
        return controls.onDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), current, settings.Pinned,
                                   settings.History);
    case WM_CTLCOLORSTATIC:
        return controls.onControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_HELP:
        if (!ShowControlHelp(reinterpret_cast<const HELPINFO*>(lParam)))
            ShowHelp(hwnd, HELP_CONTEXT, HelpMainTopic);
        return TRUE;
    case WM_CONTEXTMENU:
        ShowControlHelpAt(hwnd, lParam);
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}
