// The kept display context through which the screen is read.
#include "view/screen_source.h"

HDC ScreenSource::dc()
{
    if (!context) {
        // Unlike one from GetDC, a context made with CreateDC may be kept.
        context.reset(CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
        if (!context)
            return nullptr;
        exact = GetDeviceCaps(context, BITSPIXEL) >= 24 && !(GetDeviceCaps(context, RASTERCAPS) & RC_PALETTE);
        // Reads are made in screen coordinates, which are negative on a
        // monitor left of or above the primary. The context spans the whole
        // virtual screen, but Wine counts its own coordinates from the
        // virtual screen's top-left (Windows from the primary's): the
        // viewport origin puts the virtual screen's corner where the
        // context's clip box begins, so both give the same pixels.
        RECT box;
        if (GetClipBox(context, &box) != ERROR)
            SetViewportOrgEx(context, box.left - GetSystemMetrics(SM_XVIRTUALSCREEN),
                             box.top - GetSystemMetrics(SM_YVIRTUALSCREEN), nullptr);
    }
    return context;
}

bool ScreenSource::copiesExactly()
{
    return dc() && exact;
}

void ScreenSource::release()
{
    context.reset();
    exact = false;
}
