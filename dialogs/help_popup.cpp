#include "dialogs/help_popup.h"

#include <algorithm>
#include <string>

#include "base/owned_handle.h"
#include "base/scope_guards.h"
#include "base/work_area.h"

const char HelpPopupClass[] = "Scopella_HelpPopup";

namespace {

constexpr int WrapColumns = 48;  // average characters per line, at most

// The one pop-up of the process. It takes no activation: the mouse is
// captured, so that a click anywhere closes it, and a keyboard hook of this
// thread closes it on the next key, before accelerators or dialogs see it.
class HelpPopup {
public:
    bool show(HWND owner, const char* text, const RECT& anchor);
    void close();
    HWND window() const { return hwnd; }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK keyboardHook(int code, WPARAM wParam, LPARAM lParam);
    bool registerClass();
    void chooseFont();
    HFONT textFont() const { return font ? font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }
    void paint();
    void forget();

    HWND hwnd = nullptr;
    OwnedHook hook;
    OwnedFont font;
    std::string text;
    SIZE margin = {0, 0};
};

HelpPopup popup;

bool HelpPopup::registerClass()
{
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExA(GetModuleHandleA(nullptr), HelpPopupClass, &existing))
        return true;
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_INFOBK + 1));
    wc.lpszClassName = HelpPopupClass;
    return RegisterClassExA(&wc) != 0;
}

// The font of the system's tooltips, so the pop-up reads like one.
void HelpPopup::chooseFont()
{
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        font.reset(CreateFontIndirectA(&metrics.lfStatusFont));
    else
        font.reset();
}

bool HelpPopup::show(HWND owner, const char* newText, const RECT& anchor)
{
    close();
    if (!newText || !*newText || !registerClass())
        return false;
    text = newText;
    chooseFont();

    // Measure the wrapped text in the pop-up's font.
    const RECT work = WorkAreaNear(anchor);
    const int border = GetSystemMetrics(SM_CXBORDER);
    RECT textRect = {0, 0, 0, 0};
    {
        WindowDC screen(GetDC(nullptr), nullptr);
        SelectedObject selected(screen, textFont());
        TEXTMETRICA metrics = {};
        GetTextMetricsA(screen, &metrics);
        margin = {std::max<LONG>(metrics.tmAveCharWidth, 4), std::max<LONG>(metrics.tmHeight / 3, 2)};
        const LONG room = (work.right - work.left) - 2 * (margin.cx + border);
        textRect.right = std::max<LONG>(std::min<LONG>(metrics.tmAveCharWidth * WrapColumns, room), 1);
        DrawTextA(screen, text.c_str(), -1, &textRect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    }
    const int width = textRect.right + 2 * (margin.cx + border);
    const int height = textRect.bottom + 2 * (margin.cy + border);

    // Centred below the anchor, else above it; within the work area.
    const int gap = 2;
    int x = (anchor.left + anchor.right) / 2 - width / 2;
    int y = anchor.bottom + gap;
    if (y + height > work.bottom)
        y = anchor.top - gap - height;
    x = std::max<int>(work.left, std::min<int>(x, work.right - width));
    y = std::max<int>(work.top, std::min<int>(y, work.bottom - height));

    HWND root = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    // Owned, it stays above its owner; without an owner it must stay on top itself.
    const DWORD exStyle = WS_EX_TOOLWINDOW | (root ? 0 : WS_EX_TOPMOST);
    hwnd = CreateWindowExA(exStyle, HelpPopupClass, text.c_str(), WS_POPUP | WS_BORDER, x, y, width, height, root,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!hwnd)
        return false;
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd);
    SetCapture(hwnd);
    hook.reset(SetWindowsHookExA(WH_KEYBOARD, keyboardHook, nullptr, GetCurrentThreadId()));
    return true;
}

// Stops listening; the window itself is gone or going.
void HelpPopup::forget()
{
    hwnd = nullptr;
    hook.reset();
}

void HelpPopup::close()
{
    HWND closing = hwnd;
    forget();
    if (closing) {
        if (GetCapture() == closing)
            ReleaseCapture();
        DestroyWindow(closing);
    }
}

void HelpPopup::paint()
{
    PaintDC dc(hwnd);
    RECT r;
    GetClientRect(hwnd, &r);
    FillRect(dc, &r, GetSysColorBrush(COLOR_INFOBK));
    SelectedObject selected(dc, textFont());
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    SetBkMode(dc, TRANSPARENT);
    InflateRect(&r, -margin.cx, -margin.cy);
    DrawTextA(dc, text.c_str(), -1, &r, DT_WORDBREAK | DT_NOPREFIX);
}

LRESULT CALLBACK HelpPopup::keyboardHook(int code, WPARAM wParam, LPARAM lParam)
{
    // A key going down closes the pop-up and is used up by it.
    if (code == HC_ACTION && !(lParam & 0x80000000)) {
        popup.close();
        return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK HelpPopup::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        if (window == popup.hwnd) {
            popup.paint();
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
        popup.close();
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_CAPTURECHANGED:
        // Another window took the mouse (a menu, a drag): the pop-up goes.
        if (reinterpret_cast<HWND>(lParam) != window && window == popup.hwnd)
            popup.close();
        return 0;
    case WM_ACTIVATEAPP:
        if (!wParam && window == popup.hwnd)
            popup.close();
        return 0;
    case WM_DESTROY:
        // Also reached when the owner is destroyed with the pop-up open.
        if (window == popup.hwnd)
            popup.forget();
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool ShowHelpPopup(HWND owner, const char* text, const RECT& anchor)
{
    return popup.show(owner, text, anchor);
}

void CloseHelpPopup()
{
    popup.close();
}

HWND HelpPopupWindow()
{
    return popup.window();
}
