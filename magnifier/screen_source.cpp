// The kept display context through which the screen is read.
#include "magnifier/screen_source.h"

HDC ScreenSource::dc()
{
    if (!context) {
        context.emplace();
        if (!*context) {
            context.reset();
            return nullptr;
        }
        exact = GetDeviceCaps(*context, BITSPIXEL) >= 24 && !(GetDeviceCaps(*context, RASTERCAPS) & RC_PALETTE);
    }
    return *context;
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
