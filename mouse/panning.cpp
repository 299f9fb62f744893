// A middle click hands the pointer to the panning library "PANX"; it moves the
// zoom point with its step messages and reports the end with its end message.
// The program holds one load of the library while a panning may run, and
// gives it back only at an end that the library really reached: the end
// message is known to every program, and a repeated or foreign one must not
// unload code that still runs (its marker window, timer and hook).
#include "base/owned_handle.h"
#include "mouse/mouse_modes.h"

namespace {

// The panning library while a panning started through it may run (null
// before the first middle click, after a load that failed and after the end).
OwnedModule panningLibrary;

// Panning runs while a window of the library holds the pointer: it takes
// the pointer on its start and gives it back before it posts its end.
bool panningRuns()
{
    const HWND capture = GetCapture();
    return panningLibrary && capture &&
           reinterpret_cast<HMODULE>(GetClassLongPtrA(capture, GCLP_HMODULE)) == panningLibrary;
}

// Gives the load back unless a panning still runs on it.
void releasePanningLibrary()
{
    if (panningLibrary && !panningRuns())
        panningLibrary.reset();
}

}  // namespace

void MouseModes::OnMiddleButtonDown(int x, int y)
{
    if (kept || dragging)
        CancelSelection();
    EndPointPick();
    // By bare name: the platform adds the extension and searches its module
    // path. A load still held (a panning running) serves the new start too.
    if (!panningLibrary)
        panningLibrary.reset(LoadLibraryA("PANX"));
    if (!panningLibrary)
        return;
    using StartPanningProc = int(WINAPI*)(HWND, int, int, int, int);
    const auto startPanning =
        reinterpret_cast<StartPanningProc>(reinterpret_cast<void*>(GetProcAddress(panningLibrary, "StartPanning")));
    if (!startPanning)
        return;  // a library without its entry point is kept, not loaded again
    // Panning goes on through the library's own windows after this returns.
    if (!startPanning(window, 1, 1, x, y))
        releasePanningLibrary();
}

void MouseModes::OnPanningEnd()
{
    // A second end message, or one from another program while panning runs,
    // finds the load already given back, or the library still holding the
    // pointer: it changes nothing.
    releasePanningLibrary();
}
