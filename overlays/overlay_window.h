// Common base of the program's own small pop-up windows (the highlight frame,
// the marquee and the tracking tip): one window handle, the window class
// registered on first use, and every message of the window routed to the
// object's own window procedure.
#pragma once
#include <windows.h>

class OverlayWindow {
public:
    OverlayWindow() = default;
    // Closes a window that is still open (with the base behaviour: the
    // derived part is already gone).
    virtual ~OverlayWindow();

    OverlayWindow(const OverlayWindow&) = delete;
    OverlayWindow& operator=(const OverlayWindow&) = delete;

    // Closes the window; FALSE when none is open. Harmless on a closed overlay.
    virtual BOOL Destroy();
    virtual LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;

    // The open window, or null.
    HWND hwnd = nullptr;

protected:
    // Registers a class whose caller filled in the style, instance and name;
    // the window procedure is the one shared by every overlay. 0 on failure.
    static ATOM RegisterOverlayClass(WNDCLASSEXA& description);
    // Unregisters the class if it is registered and forgets the atom.
    static void UnregisterOverlayClass(ATOM& classAtom);
    // Opens the window hidden at (0, 0), 0 x 0, with this object as its
    // creation parameter; true when a window was made.
    bool CreateOverlay(ATOM classAtom, DWORD style, HWND owner);
    bool CreateOverlayEx(ATOM classAtom, DWORD exStyle, DWORD style, HWND owner);

private:
    static LRESULT CALLBACK OverlayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};
