#include "overlays/drag_highlight.h"

#include "base/globals.h"
#include "base/scope_guards.h"
#include "overlays/transparency.h"

namespace {
constexpr int FrameWidth = 3;
constexpr int FrameAlpha = 150;
constexpr UINT_PTR BlinkTimer = 1;
}  // namespace

ATOM DragHighlight::classAtom = 0;

DragHighlight::DragHighlight()
    : frameBrush(CreateSolidBrush(RGB(255, 0, 0))), edgeBrush(static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)))
{
}

DragHighlight::~DragHighlight()
{
    frameBrush.reset();
    edgeBrush = nullptr;  // a stock object is never deleted
    UnregisterOverlayClass(classAtom);
}

void DragHighlight::Show(RECT rect)
{
    if (EnsureOverlayClass(classAtom, "Brindle-draghighlight", 0) && !hwnd &&
        CreateOverlayEx(classAtom, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, WS_POPUP, nullptr))
        setTransparency(hwnd, true, FrameAlpha);
    InflateRect(&rect, FrameWidth, FrameWidth);
    SetWindowPos(hwnd, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void DragHighlight::StartBlink(UINT period, int limit)
{
    blinkCount = 0;
    blinkLimit = limit;
    SetTimer(hwnd, BlinkTimer, period, nullptr);
}

LRESULT DragHighlight::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        if (LOWORD(lParam) != 0 && HIWORD(lParam) != 0) {
            // Only the ring is part of the window; the area inside stays uncovered.
            RECT r;
            GetClientRect(window, &r);
            OwnedRegion ring(CreateRectRgnIndirect(&r));
            InflateRect(&r, -FrameWidth, -FrameWidth);
            OwnedRegion inside(CreateRectRgnIndirect(&r));
            if (ring && inside && CombineRgn(ring, ring, inside, RGN_XOR) != ERROR && SetWindowRgn(window, ring, TRUE))
                ring.release();  // the window owns it now
        }
        return 0;
    case WM_PAINT: {
        PaintDC dc(window);
        RECT r;
        GetClientRect(window, &r);
        FrameRect(dc, &r, edgeBrush);
        InflateRect(&r, -1, -1);
        FrameRect(dc, &r, frameBrush);
        InflateRect(&r, -1, -1);
        FrameRect(dc, &r, edgeBrush);
        return 0;
    }
    case WM_TIMER: {
        if (IsWindowVisible(window))
            SetWindowPos(window, HWND_TOP, 0, 0, 0, 0,
                         SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
        else
            SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        const int ticks = blinkCount++;
        if (ticks == blinkLimit)
            Destroy();
        return 0;
    }
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
