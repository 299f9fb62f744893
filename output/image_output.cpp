// Image output: the view (or the selection) captured for the copy commands,
// the bitmap hotkey and Save; the colour under the mouse copied as text; what
// the two hotkeys do. Save goes through the Save As dialog and writes a BMP
// or a PNG file; failures show in a message box. The check box's state and the
// folder are kept in the settings.
#include "output/image_output.h"

#include <string.h>

#include <string>

#include "base/globals.h"
#include "dialogs/save_dialog.h"
#include "imaging/bmp_file.h"
#include "imaging/capture.h"
#include "imaging/clipboard.h"
#include "imaging/hotkeys.h"
#include "imaging/packed_dib.h"
#include "imaging/png_image.h"
#include "resources/resource_ids.h"

namespace {
constexpr DWORD FileNameLength = 520;
}  // namespace

ImageOutput::ImageOutput(ZoomView& zoomView, LiveReadouts& liveReadouts, const MouseModes& mouseModes)
    : view{zoomView}, readouts{liveReadouts}, mouse{mouseModes}
{
}

OwnedBitmap ImageOutput::CaptureImage(bool zoomed, bool selectionOnly)
{
    const RECT v = view.viewRect();
    RECT selection;
    mouse.SelectionRect(selection);
    return CaptureScreen(
        CaptureAreaOf(view.sourceArea(), v, selectionOnly ? &selection : nullptr, view.zoomFactor(), zoomed));
}

void ImageOutput::copyImage(bool zoomed, bool selectionOnly)
{
    PutBitmapOnClipboard(window, CaptureImage(zoomed, selectionOnly));
}

void ImageOutput::CopyColourText()
{
    // The colour the readout sampled last (read now when the readouts rest).
    const COLORREF colour = readouts.colourUnderMouse();
    char text[20];
    wsprintfA(text, Settings.DisplayRGBColourPanel ? "%d,%d,%d" : "#%02x%02x%02x", GetRValue(colour), GetGValue(colour),
              GetBValue(colour));
    PutTextOnClipboard(window, text);
}

void ImageOutput::OnHotkey(WPARAM id)
{
    if (id == BitmapHotkeyId)
        PutBitmapOnClipboard(window, CaptureImage(true, false));
    else if (id == ColourHotkeyId)
        CopyColourText();
}

int ImageOutput::ShowImageError(UINT id)
{
    ResString text(id);
    ResString caption(IDS_APP_TITLE);
    return MessageBoxA(window, text.GetText(), caption.GetText(), MB_ICONERROR);
}

void ImageOutput::SaveImageAs(bool selectionOnly)
{
    bool zoomed = Settings.SaveZoomedImage != 0;
    bool png = false;
    char file[FileNameLength];
    if (!AskSaveFileName(window, Settings.InitialDirectory, zoomed, png, file, FileNameLength))
        return;  // cancelled: the settings stay as they were

    Settings.SaveZoomedImage = zoomed ? 1 : 0;
    // Taken now, after the dialog has gone from the screen.
    const OwnedBitmap bitmap = CaptureImage(zoomed, selectionOnly);
    // A folder too long for the setting leaves the setting as it was.
    const std::string directory = DirectoryOf(file);
    if (directory.size() < sizeof(Settings.InitialDirectory))
        memcpy(Settings.InitialDirectory, directory.c_str(), directory.size() + 1);

    GlobalMemory block(bitmap ? PackBitmap(bitmap, BI_RGB, view.palette()) : nullptr);
    if (!block) {
        ShowImageError(IDS_CAPTURE_FAILED);
        return;
    }
    if (!(png ? WritePngFile(file, block.get()) : WriteBmpFile(file, block.get())))
        ShowImageError(IDS_WRITE_FAILED);
}
