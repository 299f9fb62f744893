// The clipboard side of image output: a captured bitmap as CF_BITMAP and as
// "PNG", a text (the colour under the mouse) as CF_TEXT.
#include "imaging/clipboard.h"

#include <string.h>

#include <string>
#include <utility>

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

// A copy of the bytes in a movable global block, for the clipboard.
HGLOBAL globalCopy(const void* data, size_t size)
{
    GlobalMemory block(GlobalAlloc(GMEM_MOVEABLE, size));
    if (!block)
        return nullptr;
    LockedMemory<BYTE> locked(block.get());
    if (!locked)
        return nullptr;
    memcpy(locked.get(), data, size);
    return block.release();
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
    GlobalMemory block(globalCopy(text, strlen(text) + 1));
    if (!block)
        return false;
    OpenedClipboard clipboard(owner);
    if (!clipboard || !EmptyClipboard() || !SetClipboardData(CF_TEXT, block.get()))
        return false;
    block.release();  // the clipboard's from now on
    return true;
}

bool PutTextOnClipboardWithUnicode(HWND owner, const char* text)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0)
        return false;
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], length);
    GlobalMemory unicode(globalCopy(wide.c_str(), wide.size() * sizeof(wchar_t)));
    GlobalMemory ansi(globalCopy(text, strlen(text) + 1));
    if (!unicode || !ansi)
        return false;
    OpenedClipboard clipboard(owner);
    if (!clipboard || !EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, unicode.get()))
        return false;
    unicode.release();  // the clipboard's from now on
    if (SetClipboardData(CF_TEXT, ansi.get()))
        ansi.release();
    return clipboard.close();
}
