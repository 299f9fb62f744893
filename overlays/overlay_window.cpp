#include "overlays/overlay_window.h"

#include "base/globals.h"

OverlayWindow::~OverlayWindow()
{
    if (hwnd)
        OverlayWindow::Destroy();
}

BOOL OverlayWindow::Destroy()
{
    if (!hwnd)
        return FALSE;
    const HWND window = hwnd;
    hwnd = nullptr;
    return DestroyWindow(window);
}

ATOM OverlayWindow::RegisterOverlayClass(WNDCLASSEXA& description)
{
    description.lpfnWndProc = OverlayWindowProc;
    return RegisterClassExA(&description);
}

bool OverlayWindow::EnsureOverlayClass(ATOM& classAtom, const char* name, UINT style)
{
    if (!classAtom) {
        WNDCLASSEXA description = {};
        description.cbSize = sizeof(description);
        description.style = style;
        description.hInstance = AppInstance;
        description.lpszClassName = name;
        classAtom = RegisterOverlayClass(description);
    }
    return classAtom != 0;
}

void OverlayWindow::UnregisterOverlayClass(ATOM& classAtom)
{
    // This fails while a window of the class is open; the platform then drops
    // the class when the process ends.
    if (classAtom)
        UnregisterClassA(MAKEINTATOM(classAtom), AppInstance);
    classAtom = 0;
}

bool OverlayWindow::CreateOverlay(ATOM classAtom, DWORD style, HWND owner)
{
    return CreateOverlayEx(classAtom, 0, style, owner);
}

bool OverlayWindow::CreateOverlayEx(ATOM classAtom, DWORD exStyle, DWORD style, HWND owner)
{
    hwnd =
        CreateWindowExA(exStyle, MAKEINTATOM(classAtom), nullptr, style, 0, 0, 0, 0, owner, nullptr, AppInstance, this);
    return hwnd != nullptr;
}

LRESULT CALLBACK OverlayWindow::OverlayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* object = reinterpret_cast<OverlayWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (object) {
        const LRESULT result = object->WindowProc(window, message, wParam, lParam);
        // A window closed by someone else (an owned window goes with its
        // owner) is forgotten, so that the next open makes a new one.
        if (message == WM_NCDESTROY && object->hwnd == window)
            object->hwnd = nullptr;
        return result;
    }
    if (message == WM_CREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
