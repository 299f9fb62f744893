// The clipboard side of image output: a captured bitmap as CF_BITMAP and as
// "PNG", the colour under the mouse as CF_TEXT, and what the two hotkeys do.
#include "imaging/clipboard.h"

#include <string.h>

#include <utility>

#include "app/globals.h"
#include "app/owned_handle.h"
#include "app/scope_guards.h"
#include "imaging/hotkeys.h"
#include "imaging/packed_dib.h"
#include "imaging/png_image.h"
#include "magnifier/magnifier_window.h"

namespace {

// The clipboard opened for a window, closed again at the end of the scope.
class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~OpenedClipboard() { close(); }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;

    explicit operator bool() const { return open_; }
    // Closes it now; true when it was open and the system closed it.
    bool close() { return std::exchange(open_, false) && CloseClipboard() != FALSE; }

private:
    bool open_;
};

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

void MagnifierWindow::CopyColourText()
{
    // The colour the readout sampled last (read now when the readouts rest).
    const COLORREF colour = colourUnderMouse();
    char text[20];
    const int length = wsprintfA(text, Settings.DisplayRGBColourPanel ? "%d,%d,%d" : "#%02x%02x%02x",
                                 GetRValue(colour), GetGValue(colour), GetBValue(colour));
    GlobalMemory block(GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(length) + 1));
    if (!block)
        return;
    {
        LockedMemory<char> data(block.get());
        if (!data)
            return;
        memcpy(data.get(), text, static_cast<size_t>(length) + 1);
    }
    OpenedClipboard clipboard(hwnd);
    if (clipboard && EmptyClipboard() && SetClipboardData(CF_TEXT, block.get()))
        block.release();  // the clipboard's from now on
}

void MagnifierWindow::OnHotkey(WPARAM id)
{
    if (id == BitmapHotkeyId)
        PutBitmapOnClipboard(hwnd, CaptureImage(true, false));
    else if (id == ColourHotkeyId)
        CopyColourText();
}
