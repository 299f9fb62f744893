// PANX: middle-button panning for the window that starts it. StartPanning
// takes the pointer and shows a marker at the click point; while the pointer
// is away from that origin, the window gets a step (dx, dy) every tick, sent
// with the registered message "bw_OriginWindowUpdate" and a pointer to the
// step. A click, a button release after a drag, Escape, or losing the pointer
// ends panning with one posted "bw_OriginWindowEnd".
//
// The window may free this library when it handles the end message, so
// everything the library holds (marker window, its class, timer, capture,
// keyboard hook) is given back before that message is posted, and no code of
// the library runs after it.
#include <windows.h>

#include "base/owned_handle.h"
#include "base/scope_guards.h"
#include "panx/origin_marker.h"
#include "panx/pan_step.h"

namespace {

const char MarkerClass[] = "PanxOriginMarker";
constexpr UINT_PTR StepTimer = 1;

HINSTANCE libraryInstance = nullptr;

// One panning at a time, on the user-interface thread that started it.
struct Session {
    bool running = false;
    HWND target = nullptr;
    HWND marker = nullptr;
    OwnedHook keyboardHook;
    POINT origin{0, 0};  // screen coordinates of the click
    PanRemainder remainder;
    UINT updateMessage = 0;
    UINT endMessage = 0;
    bool released = false;  // the starting button came up without a drag
    bool dragged = false;   // the pointer left the dead zone before that
    bool clicked = false;   // a button went down after the start
};
Session session;

void endPanning()
{
    if (!session.running)
        return;
    session.running = false;  // what follows may send messages back here
    session.keyboardHook.reset();
    const HWND marker = session.marker;
    session.marker = nullptr;
    if (marker) {
        KillTimer(marker, StepTimer);
        if (GetCapture() == marker)
            ReleaseCapture();
        DestroyWindow(marker);
    }
    UnregisterClassA(MarkerClass, libraryInstance);
    PostMessageA(session.target, session.endMessage, 0, 0);
}

bool awayFromOrigin(POINT p)
{
    const long long dx = p.x - session.origin.x, dy = p.y - session.origin.y;
    return dx * dx + dy * dy > PanDeadZone * PanDeadZone;
}

// Holding the button and moving away is a drag: its release ends panning.
void notePointer()
{
    POINT p;
    if (!session.released && !session.dragged && GetCursorPos(&p) && awayFromOrigin(p))
        session.dragged = true;
}

void tick()
{
    if (!IsWindow(session.target)) {
        endPanning();
        return;
    }
    POINT p;
    if (!GetCursorPos(&p))
        return;
    notePointer();
    POINT step = panStep(p.x - session.origin.x, p.y - session.origin.y, session.remainder);
    if (step.x != 0 || step.y != 0) {
        // Sent, not posted: the step stays valid until the window has handled it.
        SendMessageA(session.target, session.updateMessage, 0, reinterpret_cast<LPARAM>(&step));
    }
}

void buttonUp()
{
    if (session.clicked || session.dragged)
        endPanning();
    else
        session.released = true;  // a plain middle click: pan until the next click
}

LRESULT CALLBACK markerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_PAINT: {
        PaintDC dc(window);
        if (dc)
            paintOriginMarker(dc);
        return 0;
    }
    case WM_TIMER:
        if (wParam == StepTimer && session.running)
            tick();
        return 0;
    case WM_MOUSEMOVE:
        notePointer();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
        session.clicked = true;
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_XBUTTONUP:
        buttonUp();
        return 0;
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
        // Another window took the pointer, or the system cancels modes.
        if (session.running && reinterpret_cast<HWND>(lParam) != window)
            endPanning();
        return 0;
    case WM_DESTROY:
        // Destroyed from outside (with its owner): end without destroying it again.
        if (session.running && session.marker == window) {
            session.marker = nullptr;
            endPanning();
        }
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK keyboardProc(int code, WPARAM key, LPARAM flags)
{
    if (code == HC_ACTION && key == VK_ESCAPE && session.running) {
        if (!(flags & 0x80000000))  // on the key going down
            endPanning();
        return 1;  // Escape belongs to panning, not to the window
    }
    return CallNextHookEx(nullptr, code, key, flags);
}

bool registerMarkerClass()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = markerProc;
    wc.hInstance = libraryInstance;
    wc.hCursor = LoadCursorA(nullptr, IDC_SIZEALL);
    wc.lpszClassName = MarkerClass;
    return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void* reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        libraryInstance = instance;
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH && !reserved) {
        // Freed, not process exit: the class normally went with the marker,
        // but one left behind would point at code about to be unmapped.
        UnregisterClassA(MarkerClass, instance);
    }
    return TRUE;
}

#if defined(_MSC_VER) && defined(_M_IX86)
#pragma comment(linker, "/EXPORT:StartPanning=_StartPanning@20")
#endif

// The window's client point (x, y) is where panning starts. The two values
// after the window are not used. Every call is answered by exactly one end
// message (a call while panning runs ends that panning first), so a caller
// that loads the library for each call can free it once per end message.
extern "C" __declspec(dllexport) int WINAPI StartPanning(HWND window, int, int, int x, int y)
{
    endPanning();
    if (!IsWindow(window))
        return 0;
    session = Session{};
    session.target = window;
    session.updateMessage = RegisterWindowMessageA("bw_OriginWindowUpdate");
    session.endMessage = RegisterWindowMessageA("bw_OriginWindowEnd");
    session.origin = POINT{x, y};
    ClientToScreen(window, &session.origin);

    const int half = OriginMarkerSize / 2;
    if (registerMarkerClass()) {
        session.marker =
            CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, MarkerClass, "", WS_POPUP, session.origin.x - half,
                            session.origin.y - half, OriginMarkerSize + 1, OriginMarkerSize + 1,
                            GetAncestor(window, GA_ROOT), nullptr, libraryInstance, nullptr);
    }
    session.running = true;
    if (!session.marker || !SetTimer(session.marker, StepTimer, PanTickMs, nullptr)) {
        endPanning();
        return 0;
    }
    SetWindowRgn(session.marker, createOriginMarkerRegion(), FALSE);
    ShowWindow(session.marker, SW_SHOWNOACTIVATE);
    SetCapture(session.marker);
    SetCursor(LoadCursorA(nullptr, IDC_SIZEALL));  // kept while the pointer is captured
    session.keyboardHook.reset(SetWindowsHookExA(WH_KEYBOARD, keyboardProc, nullptr, GetCurrentThreadId()));
    return 1;
}
