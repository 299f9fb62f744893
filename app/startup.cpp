#include "app/startup.h"

#include "base/dpi.h"
#include "base/globals.h"
#include "base/owned_handle.h"
#include "resources/resource_ids.h"
#include "window/magnifier_window.h"

const char MainWindowClassName[] = "ScopellaMainWnd";

bool CreateMainWindow(HINSTANCE instance, int showCommand)
{
    // The default size grows with the screen's DPI (the window does not
    // exist yet to tell its own).
    const int screenDpi = systemDpi();
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT;
    int width = scaleToDpi(450, screenDpi), height = scaleToDpi(250, screenDpi);
    if (Settings.WasLoaded(RowWindowPos)) {
        const RECT& r = Settings.WindowPos;
        x = r.left;
        y = r.top;
        width = r.right - r.left;
        height = r.bottom - r.top;
    }

    // Runs before this process has any window, so it can only find another's.
    if (Settings.SingleInstance && ActivatePreviousInstance())
        return false;

    const ATOM atom = RegisterMainWindowClass(instance);
    HWND hwnd = nullptr;
    if (atom) {
        hwnd = CreateWindowExA(WS_EX_APPWINDOW, MAKEINTATOM(atom), AppTitle.GetText(), WS_OVERLAPPEDWINDOW, x, y, width,
                               height, nullptr, nullptr, instance, nullptr);
    }
    if (!hwnd) {
        ReportLastError(nullptr, AppTitle.GetText());
        return false;
    }
    ShowWindow(hwnd, showCommand);
    // A saved position may lie on a monitor that is no longer there.
    Magnifier.keepOnScreen();
    return true;
}

ATOM RegisterMainWindowClass(HINSTANCE instance)
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS | CS_BYTEALIGNCLIENT;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_SCOPELLA));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = nullptr;  // the view covers the client area
    wc.lpszClassName = MainWindowClassName;
    wc.hIconSm =
        static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_SCOPELLA), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    return RegisterClassExA(&wc);
}

bool ActivatePreviousInstance()
{
    HWND found = FindWindowA(MainWindowClassName, nullptr);
    if (!found)
        return false;
    // An open dialog of the other instance is what the user wants to see.
    HWND target = GetLastActivePopup(found);
    BringWindowToTop(target);
    SetForegroundWindow(target);
    SetActiveWindow(target);
    if (IsIconic(target))
        ShowWindow(target, SW_RESTORE);
    return true;
}

void ReportLastError(HWND owner, const char* caption)
{
    const DWORD code = GetLastError();
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&text), 0, nullptr);
    const LocalMemory owned(text);  // the system's allocation for the text
    MessageBoxA(owner, text ? text : "", caption, MB_ICONERROR);
}

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // WM_GETMINMAXINFO comes first during creation; the handle is also taken
    // from any earlier message so the object never works without one.
    if (message == WM_GETMINMAXINFO || !Magnifier.handle())
        Magnifier.attach(hwnd);
    return Magnifier.WindowProc(message, wParam, lParam);
}

int RunMessageLoop(HACCEL accelerators)
{
    MSG msg = {};
    // GetMessage returns -1 on failure; that ends the loop instead of spinning.
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        // The keys work in every window of the program: the command goes to
        // the top-level window they were pressed in (a tool window passes on
        // what is not its own), and a tool window whose controls are reached
        // with Tab (WS_EX_CONTROLPARENT) gets the dialog keys.
        HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        if (TranslateAcceleratorA(root ? root : msg.hwnd, accelerators, &msg))
            continue;
        if (root && (GetWindowLongPtrA(root, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) && IsDialogMessageA(root, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
