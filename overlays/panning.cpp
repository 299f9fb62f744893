// A middle click hands the pointer to the panning library "PANX", loaded for
// each click; it moves the zoom point with its step messages and is released
// when it reports the end.
#include "overlays/panning.h"

#include "magnifier/magnifier_window.h"

HMODULE panningLibrary = nullptr;

void MagnifierWindow::OnMiddleButtonDown(int x, int y)
{
    if (hasSelection || selecting)
        CancelSelection();
    EndPointPick();
    // By bare name: the platform adds the extension and searches its module path.
    panningLibrary = LoadLibraryA("PANX");
    if (!panningLibrary)
        return;
    using StartPanningProc = int(WINAPI*)(HWND, int, int, int, int);
    const auto startPanning = reinterpret_cast<StartPanningProc>(
        reinterpret_cast<void*>(GetProcAddress(panningLibrary, "StartPanning")));
    if (!startPanning)
        return;
    // Panning goes on through the library's own windows after this returns.
    startPanning(hwnd, 1, 1, x, y);
}

void MagnifierWindow::OnPanningEnd()
{
    // The library posts the end once it holds nothing more and runs no code.
    if (panningLibrary)
        FreeLibrary(panningLibrary);
}
