// The clipboard side of image output: a captured bitmap as CF_BITMAP and as
// "PNG", a text (the colour under the mouse) as CF_TEXT.
#include "imaging/clipboard.h"

#include <string.h>

#include "base/owned_handle.h"
#include "base/scope_guards.h"
#include "imaging/packed_dib.h"
#include "imaging/png_image.h"

namespace {

// The bitmap as PNG bytes, packed as the system makes CF_DIB of it (with the
// default palette); null when WIC is missing or fails.
HGLOBAL pngOf(HBITMAP bitmap)
{
    GlobalMemory dib(PackBitmap(bitmap, BI_RGB, nullptr));
    return dib ? EncodePng(dib.get()) : nullptr;
}

}  // namespace

bool PutBitmapOnClipboard(HWND owner, OwnedBitmap bitmap)
{
    // Encoded before the clipboard is opened, so that it is held briefly.
    GlobalMemory png(bitmap ? pngOf(bitmap) : nullptr);
    if (bitmap) {
        OpenedClipboard clipboard(owner);
        if (clipboard && EmptyClipboard() && SetClipboardData(CF_BITMAP, bitmap)) {
            bitmap.release();  // the clipboard's from now on
            // Browsers, office programs and (through Wine) X programs take
            // this name; without it the copy still holds the bitmap.
            const UINT pngFormat = RegisterClipboardFormatA("PNG");
            if (png && pngFormat && SetClipboardData(pngFormat, png.get()))
                png.release();
            if (clipboard.close())
                return true;
        }
    }
    MessageBeep(0);
    return false;
}

bool PutTextOnClipboard(HWND owner, const char* text)
{
    const size_t size = strlen(text) + 1;
    GlobalMemory block(GlobalAlloc(GMEM_MOVEABLE, size));
    if (!block)
        return false;
    {
        LockedMemory<char> data(block.get());
        if (!data)
            return false;
        memcpy(data.get(), text, size);
    }
    OpenedClipboard clipboard(owner);
    if (!clipboard || !EmptyClipboard() || !SetClipboardData(CF_TEXT, block.get()))
        return false;
    block.release();  // the clipboard's from now on
    return true;
}
