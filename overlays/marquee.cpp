#include "overlays/marquee.h"

#include "base/globals.h"
#include "base/scope_guards.h"
#include "resources/resource_ids.h"

namespace {
constexpr UINT_PTR AnimationTimer = 1;
constexpr UINT AnimationPeriod = 100;
constexpr int PatternSize = 8;

// A pattern brush of an 8 x 8 monochrome bitmap resource: its 0 bits paint
// in the context's text colour (black), its 1 bits in the background colour
// (white).
HBRUSH patternBrush(UINT bitmapId)
{
    OwnedBitmap pattern(LoadBitmapA(AppInstance, MAKEINTRESOURCEA(bitmapId)));
    return pattern ? CreatePatternBrush(pattern) : nullptr;
}

// One 1-pixel edge with the brush's dashes starting at the given origin.
void drawEdge(HDC dc, HBRUSH brush, int originX, int originY, int x, int y, int width, int height)
{
    UnrealizeObject(brush);
    SetBrushOrgEx(dc, originX, originY, nullptr);
    SelectedObject selected(dc, brush);
    PatBlt(dc, x, y, width, height, PATCOPY);
}

}  // namespace

ATOM Marquee::classAtom = 0;

Marquee::~Marquee()
{
    horizontalBrush.reset();
    verticalBrush.reset();
    UnregisterOverlayClass(classAtom);
}

void Marquee::Create(HWND owner)
{
    EnsureOverlayClass(classAtom, "tiv_Marquee", 0);
    if (!horizontalBrush)
        horizontalBrush.reset(patternBrush(IDB_MARQUEE_HORIZONTAL));
    if (!verticalBrush)
        verticalBrush.reset(patternBrush(IDB_MARQUEE_VERTICAL));
    if (classAtom && CreateOverlay(classAtom, WS_POPUP, owner))
        SetTimer(hwnd, AnimationTimer, AnimationPeriod, nullptr);
}

void Marquee::Place(int x, int y, int width, int height)
{
    SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

BOOL Marquee::Destroy()
{
    if (hwnd)
        KillTimer(hwnd, AnimationTimer);
    return OverlayWindow::Destroy();
}

LRESULT Marquee::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        if (LOWORD(lParam) != 0 && HIWORD(lParam) != 0) {
            GetClientRect(window, &outline);
            OwnedRegion ring(CreateRectRgnIndirect(&outline));
            OwnedRegion inside(CreateRectRgn(outline.left + 1, outline.top + 1, outline.right - 1, outline.bottom - 1));
            if (ring && inside && CombineRgn(ring, ring, inside, RGN_XOR) != ERROR && SetWindowRgn(window, ring, TRUE))
                ring.release();  // the window owns it now
        }
        return 0;
    case WM_TIMER:
        // The region limits the repaint to the four lines; nothing is erased.
        InvalidateRect(window, nullptr, FALSE);
        phase += 2;
        if (phase > 7)
            phase = 0;
        return 0;
    case WM_PAINT:
        paint(window);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void Marquee::paint(HWND window)
{
    PaintDC dc(window);
    const RECT& o = outline;
    const int width = o.right - o.left;
    const int height = o.bottom - o.top;
    // Moving an origin forward moves its dashes forward: top runs right,
    // right runs down, bottom runs left, left runs up.
    drawEdge(dc, horizontalBrush, phase, 0, o.left, o.top, width, 1);
    drawEdge(dc, horizontalBrush, PatternSize - phase, 0, o.left, o.bottom - 1, width, 1);
    drawEdge(dc, verticalBrush, 0, PatternSize - phase, o.left, o.top, 1, height);
    drawEdge(dc, verticalBrush, 0, phase, o.right - 1, o.top, 1, height);
}
