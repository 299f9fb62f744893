// The paint path of the magnified view, measured per frame in a real main
// window: buffers, screen capture, enlargement, grid, cursor and the transfer
// to the window, with buffers made anew for every frame, once with the source
// buffer at the size of the screen area read and once at the full enlarged
// size, both enlarged by GDI, and once enlarged by the program itself in DIB
// sections. The program's own paintView, which keeps its buffers from one
// paint to the next, is timed beside them, with and without the grid, and so
// is one readout tick, and the PNG a copy puts on the clipboard beside the
// bitmap: its packing and encoding time and its size.
// Prints a table; it is not a test.
//   paint_bench.exe [--quick] [--paint-only]
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <vector>

#include "app/startup.h"
#include "base/globals.h"
#include "base/owned_handle.h"
#include "base/scope_guards.h"
#include "imaging/packed_dib.h"
#include "imaging/png_image.h"
#include "resources/resource_ids.h"
#include "view/enlarge.h"
#include "view/geometry.h"
#include "window/magnifier_window.h"

namespace {

double ticksPerMs = 0;

double nowMs()
{
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / ticksPerMs;
}

// The end of a phase. (GDI calls on memory contexts finish before they
// return; the window's picture reaches the X server at the next flush, which
// the transfer phase forces with GdiFlush, as the message loop would.)
double lap()
{
    return nowMs();
}

// Hands the window's new picture to the display at once.
double flushedLap()
{
    GdiFlush();
    return nowMs();
}

enum Phase { Buffers, Capture, Enlarge, Grid, Cursor, Transfer, PhaseCount };
const char* const PhaseNames[PhaseCount] = {"buffers", "capture", "enlarge", "grid", "cursor", "transfer"};

struct Frame {
    double phase[PhaseCount] = {};
    double total = 0;
};

// The source buffer's size and how the picture is enlarged.
enum Variant { GdiStretch, GdiStretchFullSource, OwnBits, Program, ProgramNoGrid, VariantCount };

// A buffer's bitmap: a 32-bit top-down DIB section whose pixels the program
// reaches, or one compatible with the window.
HBITMAP makeBitmap(HDC windowDC, HDC memory, int width, int height, bool ownBits, std::uint32_t** bits)
{
    if (!ownBits)
        return CreateCompatibleBitmap(windowDC, width, height);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(info.bmiHeader), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    *bits = static_cast<std::uint32_t*>(pixels);
    return bitmap;
}

// The steps of MagnifierWindow::paintView, with a clock between them and the
// buffers made anew for each frame: GDI's enlargement with the source buffer
// at the size read or at the full size, or the program's own enlargement in
// DIB sections (as on a true-colour display).
Frame paintInPhases(HDC windowDC, Variant variant)
{
    const bool fullSizeSource = variant == GdiStretchFullSource;
    const bool ownBits = variant == OwnBits;
    ZoomView& m = Magnifier.view();
    Frame f;
    const int zoom = Magnifier.view().zoomFactor();
    const RECT v = m.viewRect();
    const int width = zoom * m.cells().viewCols;
    const int height = zoom * m.cells().viewRows;
    const int sourceWidth = fullSizeSource ? width : m.cells().viewCols;
    const int sourceHeight = fullSizeSource ? height : m.cells().viewRows;

    double t = lap();
    const double start = t;
    HDC viewDC = CreateCompatibleDC(windowDC);
    std::uint32_t* viewBits = nullptr;
    std::uint32_t* sourceBits = nullptr;
    HBITMAP viewBitmap = makeBitmap(windowDC, viewDC, width, height, ownBits, &viewBits);
    HGDIOBJ oldView = SelectObject(viewDC, viewBitmap);
    HPALETTE oldViewPalette = nullptr, oldWindowPalette = nullptr;
    if (m.palette() && !ownBits) {
        oldViewPalette = SelectPalette(viewDC, m.palette(), FALSE);
        RealizePalette(viewDC);
        oldWindowPalette = SelectPalette(windowDC, m.palette(), FALSE);
        RealizePalette(windowDC);
    }
    const POINT c = m.clampZoomPoint();
    SetStretchBltMode(viewDC, COLORONCOLOR);
    HDC sourceDC = CreateCompatibleDC(windowDC);
    HBITMAP sourceBitmap = makeBitmap(windowDC, sourceDC, sourceWidth, sourceHeight, ownBits, &sourceBits);
    HGDIOBJ oldSource = SelectObject(sourceDC, sourceBitmap);
    double u = lap();
    f.phase[Buffers] += u - t;
    t = u;

    HWND desktop = GetDesktopWindow();
    HDC screen = GetDC(desktop);
    BitBlt(sourceDC, 0, 0, m.cells().viewCols, m.cells().viewRows, screen, c.x - m.cells().halfCols,
           c.y - m.cells().halfRows, SRCCOPY | CAPTUREBLT);
    ReleaseDC(desktop, screen);
    u = lap();
    f.phase[Capture] = u - t;
    t = u;

    if (ownBits) {
        GdiFlush();
        enlarge(sourceBits, sourceWidth, zoom, viewBits, width, std::min<int>(width, v.right - v.left),
                std::min<int>(height, v.bottom - v.top));
    } else {
        StretchBlt(viewDC, 0, 0, width, height, sourceDC, 0, 0, m.cells().viewCols, m.cells().viewRows, SRCCOPY);
    }
    u = lap();
    f.phase[Enlarge] = u - t;
    t = u;

    if (Settings.ShowGrid && (zoom >= 2 || Settings.GridSize > 1)) {
        HPEN pen = CreatePen(PS_SOLID, 1, Settings.GridColor);
        HGDIOBJ oldPen = SelectObject(viewDC, pen);
        for (int k = Settings.GridSize; k < m.cells().viewCols; k += Settings.GridSize) {
            MoveToEx(viewDC, zoom * k, 0, nullptr);
            LineTo(viewDC, zoom * k, height);
        }
        for (int k = Settings.GridSize; k < m.cells().viewRows; k += Settings.GridSize) {
            MoveToEx(viewDC, 0, zoom * k, nullptr);
            LineTo(viewDC, width, zoom * k);
        }
        SelectObject(viewDC, oldPen);
        DeleteObject(pen);
    }
    u = lap();
    f.phase[Grid] = u - t;
    t = u;

    if (Settings.MouseTracking && Settings.DisplayMouseWhenFollowing && m.cursor()) {
        const int x = zoom * (m.zoomPoint().x - c.x + m.cells().halfCols) + zoom / 2;
        const int y = zoom * (m.zoomPoint().y - c.y + m.cells().halfRows) + zoom / 2;
        DrawIcon(viewDC, x, y, m.cursor());
    }
    u = lap();
    f.phase[Cursor] = u - t;
    t = u;

    SetStretchBltMode(viewDC, COLORONCOLOR);
    const int destinationY = v.top;
    BitBlt(windowDC, 0, destinationY, v.right - v.left, v.bottom - v.top, viewDC, 0, 0, SRCCOPY | CAPTUREBLT);
    u = flushedLap();
    f.phase[Transfer] = u - t;
    t = u;

    if (oldWindowPalette) {
        SelectPalette(viewDC, oldViewPalette, FALSE);
        SelectPalette(windowDC, oldWindowPalette, FALSE);
    }
    SelectObject(sourceDC, oldSource);
    DeleteObject(sourceBitmap);
    DeleteDC(sourceDC);
    SelectObject(viewDC, oldView);
    DeleteObject(viewBitmap);
    DeleteDC(viewDC);
    u = lap();
    f.phase[Buffers] += u - t;
    f.total = u - start;
    return f;
}

struct Summary {
    double phase[PhaseCount] = {};
    double median = 0;
    int frames = 0;
};

template <typename PaintFrame>
Summary measure(PaintFrame paint, int minFrames, double minMs)
{
    for (int i = 0; i < 5; ++i)
        paint();  // warm caches and the platform's lazy set-ups
    std::vector<double> totals;
    Summary s;
    const double start = nowMs();
    while (static_cast<int>(totals.size()) < minFrames || nowMs() - start < minMs) {
        const Frame f = paint();
        for (int p = 0; p < PhaseCount; ++p)
            s.phase[p] += f.phase[p];
        totals.push_back(f.total);
        if (totals.size() >= 5000)
            break;
    }
    s.frames = static_cast<int>(totals.size());
    for (double& p : s.phase)
        p /= s.frames;
    std::sort(totals.begin(), totals.end());
    s.median = totals[totals.size() / 2];
    return s;
}

// A copy's PNG of the bitmap, as the clipboard gets it: packed, then encoded
// (COM and WIC set up and left again each time, as in the program). Prints
// the median times and the sizes of the PNG and of the packed bitmap.
void pngRow(const char* window, int zoom, const char* picture, HBITMAP bitmap, int runs)
{
    std::vector<double> packs, encodes, totals;
    SIZE_T pngBytes = 0, dibBytes = 0;
    for (int i = 0; i < runs; ++i) {
        const double t0 = nowMs();
        GlobalMemory dib(PackBitmap(bitmap, BI_RGB, nullptr));
        const double t1 = nowMs();
        GlobalMemory png(EncodePng(dib.get()));
        const double t2 = nowMs();
        packs.push_back(t1 - t0);
        encodes.push_back(t2 - t1);
        totals.push_back(t2 - t0);
        pngBytes = png ? GlobalSize(png.get()) : 0;
        dibBytes = dib ? GlobalSize(dib.get()) : 0;
    }
    for (std::vector<double>* v : {&packs, &encodes, &totals})
        std::sort(v->begin(), v->end());
    BITMAP shape = {};
    GetObjectA(bitmap, sizeof(shape), &shape);
    char size[32];
    snprintf(size, sizeof(size), "%dx%d", static_cast<int>(shape.bmWidth), static_cast<int>(shape.bmHeight));
    printf("%-14s %4d %-10s %-12s %8.2f %8.2f %8.2f %9.0f %9.0f\n", window, zoom, size, picture, packs[runs / 2],
           encodes[runs / 2], totals[runs / 2], pngBytes / 1024.0, (dibBytes + sizeof(BITMAPFILEHEADER)) / 1024.0);
}

// A bitmap of the capture's size with pixels of a fixed pseudo-random
// sequence in blocks of zoom x zoom: the busiest screen a zoomed copy can
// show (at zoom 1 nothing for the compressor to find, the slowest and
// largest case).
HBITMAP noiseLike(HBITMAP capture, int zoom)
{
    BITMAP shape = {};
    GetObjectA(capture, sizeof(shape), &shape);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(info.bmiHeader), shape.bmWidth, -shape.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    std::uint32_t state = 2463534242u;  // xorshift32, fixed seed
    auto* rows = static_cast<std::uint32_t*>(pixels);
    for (LONG y = 0; bitmap && y < shape.bmHeight; ++y) {
        for (LONG x = 0; x < shape.bmWidth; ++x) {
            if (y % zoom != 0) {
                rows[y * shape.bmWidth + x] = rows[(y - 1) * shape.bmWidth + x];
            } else if (x % zoom != 0) {
                rows[y * shape.bmWidth + x] = rows[y * shape.bmWidth + x - 1];
            } else {
                state ^= state << 13;
                state ^= state >> 17;
                state ^= state << 5;
                rows[y * shape.bmWidth + x] = state & 0xFFFFFF;
            }
        }
    }
    return bitmap;
}

void resizeWindow(int width, int height)
{
    SetWindowPos(Magnifier.handle(), nullptr, 20, 20, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

struct Case {
    int width, height, zoom;
};

}  // namespace

int main(int argc, char** argv)
{
    bool quick = false, paintOnly = false;
    for (int i = 1; i < argc; ++i) {
        quick = quick || strcmp(argv[i], "--quick") == 0;
        paintOnly = paintOnly || strcmp(argv[i], "--paint-only") == 0;
    }
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    ticksPerMs = static_cast<double>(frequency.QuadPart) / 1000.0;
    AppInstance = GetModuleHandleA(nullptr);

    // Every part of a paint runs: the grid on every cell, the program's own
    // cursor in follow mode. No timers interfere: the bench pumps no
    // messages while it measures.
    Settings.ShowGrid = true;
    Settings.GridSize = 1;
    Settings.GridColor = RGB(128, 128, 128);
    Settings.MouseTracking = true;
    Settings.DisplayMouseWhenFollowing = true;
    Settings.bUseOSCursor = false;
    Settings.DisplayToolbar = true;
    Settings.DisplayStatusbar = true;
    Settings.Update = 1;
    Settings.AlwaysOnTop = FALSE;
    Settings.Transparent = false;
    Settings.SingleInstance = false;

    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&controls);
    if (!CreateMainWindow(AppInstance, SW_SHOWNOACTIVATE)) {
        fprintf(stderr, "paint_bench: no main window\n");
        return 1;
    }
    HWND window = Magnifier.handle();

    const Case cases[] = {{450, 250, 3}, {1024, 768, 4}, {1600, 1000, 8}};
    const int minFrames = quick ? 10 : 60;
    const double minMs = quick ? 100 : 1500;

    printf("Paint path per frame, ms (mean per phase, median total; grid on every cell, own cursor)\n");
    printf("%-14s %4s %-9s %-13s", "window", "zoom", "view", "source buffer");
    for (const char* name : PhaseNames)
        printf(" %8s", name);
    printf(" %8s %7s %9s\n", "total", "frames", "buffer KB");
    for (const Case& k : cases) {
        resizeWindow(k.width, k.height);
        Magnifier.view().setZoomFactor(k.zoom);
        Magnifier.view().layoutView();
        Magnifier.view().setZoomPoint(POINT{screenLeft + screenWidth / 2, screenTop + screenHeight / 2});
        const RECT v = Magnifier.view().viewRect();
        char size[32], view[32];
        snprintf(size, sizeof(size), "%dx%d", k.width, k.height);
        snprintf(view, sizeof(view), "%dx%d", static_cast<int>(v.right - v.left), static_cast<int>(v.bottom - v.top));
        HDC dc = GetDC(window);
        // The variants take turns in blocks of frames, so that a change of
        // the machine's pace touches all of them alike; the first frame of a
        // block is not counted, so that each counted frame follows one of its
        // own kind (what a frame leaves behind, such as freed memory, changes
        // the cost of the next).
        Summary sums[VariantCount];
        std::vector<double> totals[VariantCount];
        const int block = 8;
        const double start = nowMs();
        for (int round = 0; static_cast<int>(totals[0].size()) < minFrames || nowMs() - start < minMs; ++round) {
            for (int variant = 0; variant < VariantCount; ++variant) {
                for (int i = 0; i <= block; ++i) {
                    Frame f;
                    if (variant < Program) {
                        f = paintInPhases(dc, static_cast<Variant>(variant));
                    } else {
                        // The grid is off in most use; the other rows draw it.
                        Settings.ShowGrid = variant == Program;
                        const double t = lap();
                        Magnifier.view().paintView(dc);
                        f.total = flushedLap() - t;
                        Settings.ShowGrid = true;
                    }
                    if (i == 0)
                        continue;
                    for (int p = 0; p < PhaseCount; ++p)
                        sums[variant].phase[p] += f.phase[p];
                    totals[variant].push_back(f.total);
                }
            }
        }
        const int zoom = Magnifier.view().zoomFactor();
        for (int variant = 0; variant < VariantCount; ++variant) {
            std::vector<double>& t = totals[variant];
            const int frames = static_cast<int>(t.size());
            std::sort(t.begin(), t.end());
            char source[32];
            if (variant == GdiStretch)
                snprintf(source, sizeof(source), "%dx%d", Magnifier.view().cells().viewCols,
                         Magnifier.view().cells().viewRows);
            else if (variant == GdiStretchFullSource)
                snprintf(source, sizeof(source), "%dx%d full", zoom * Magnifier.view().cells().viewCols,
                         zoom * Magnifier.view().cells().viewRows);
            else if (variant == OwnBits)
                snprintf(source, sizeof(source), "%dx%d own", Magnifier.view().cells().viewCols,
                         Magnifier.view().cells().viewRows);
            else
                snprintf(source, sizeof(source), variant == Program ? "program" : "prog. no grid");
            printf("%-14s %4d %-9s %-13s", size, k.zoom, view, source);
            for (double p : sums[variant].phase) {
                if (variant < Program)
                    printf(" %8.3f", p / frames);
                else
                    printf(" %8s", "");
            }
            // Both buffers at 32 bits per pixel.
            const double viewKB =
                4.0 * zoom * Magnifier.view().cells().viewCols * zoom * Magnifier.view().cells().viewRows / 1024;
            const double sourceKB = variant == GdiStretchFullSource ? viewKB
                                                                    : 4.0 * Magnifier.view().cells().viewCols *
                                                                          Magnifier.view().cells().viewRows / 1024;
            printf(" %8.3f %7d %9.0f\n", t[t.size() / 2], frames, viewKB + sourceKB);
        }
        ReleaseDC(window, dc);
    }

    if (paintOnly) {
        DestroyWindow(window);
        fflush(stdout);
        TerminateProcess(GetCurrentProcess(), 0);
    }

    // One readout tick (timer 2): the mouse position, the coordinate text, the
    // colour under the mouse, and in follow mode a repaint when it moved.
    resizeWindow(450, 250);
    Magnifier.view().setZoomFactor(3);
    printf("\nReadout tick (timer 2) in a 450x250 window at zoom 3, ms (median)\n");
    struct TickCase {
        const char* name;
        bool follow;
        bool moving;
    } ticks[] = {
        {"follow off", false, false}, {"follow on, mouse still", true, false}, {"follow on, mouse moving", true, true}};
    for (const TickCase& tc : ticks) {
        Settings.MouseTracking = tc.follow;
        int step = 0;
        const Summary s = measure(
            [&] {
                if (tc.moving)
                    SetCursorPos(300 + (step++ % 2) * 7, 300);
                Frame f;
                const double t = lap();
                SendMessageA(window, WM_TIMER, ReadoutTimer, 0);
                f.total = flushedLap() - t;
                return f;
            },
            minFrames, minMs / 2);
        printf("  %-26s %8.3f  (%d ticks)\n", tc.name, s.median, s.frames);
    }

    // The PNG of a copy of the whole view at its size (Ctrl+C, the bitmap
    // hotkey): of the screen as it is, of noise magnified as the view
    // magnifies, and of noise pixel by pixel.
    printf("\nPNG of a zoomed copy of the view (packing and WIC encoding), ms (median), and sizes in KB\n");
    printf("%-14s %4s %-10s %-12s %8s %8s %8s %9s %9s\n", "window", "zoom", "picture", "content", "pack", "encode",
           "total", "PNG KB", "BMP KB");
    Settings.MouseTracking = false;
    for (const Case& k : cases) {
        resizeWindow(k.width, k.height);
        Magnifier.view().setZoomFactor(k.zoom);
        Magnifier.view().layoutView();
        Magnifier.view().setZoomPoint(POINT{screenLeft + screenWidth / 2, screenTop + screenHeight / 2});
        char size[32];
        snprintf(size, sizeof(size), "%dx%d", k.width, k.height);
        OwnedBitmap capture(Magnifier.imageOutput().CaptureImage(true, false));
        OwnedBitmap zoomedNoise(capture ? noiseLike(capture, k.zoom) : nullptr);
        OwnedBitmap noise(capture ? noiseLike(capture, 1) : nullptr);
        if (!capture || !zoomedNoise || !noise)
            continue;
        const int runs = quick ? 3 : 15;
        pngRow(size, k.zoom, "screen", capture, runs);
        pngRow(size, k.zoom, "noise zoomed", zoomedNoise, runs);
        pngRow(size, k.zoom, "noise", noise, runs);
    }

    DestroyWindow(window);
    // The bench's settings are not kept: end without the exit-time save.
    fflush(stdout);
    TerminateProcess(GetCurrentProcess(), 0);
    return 0;
}
