// Image output: the view (or the selection) captured for the copy commands,
// the bitmap hotkey and Save; the colour under the mouse copied as text; what
// the two hotkeys do. Save goes through the Save As dialog and writes a BMP
// or a PNG file; failures show in a message box. The check box's state and the
// folder are kept in the settings.
#include <string.h>

#include <string>

#include "app/globals.h"
#include "imaging/bmp_file.h"
#include "imaging/capture.h"
#include "imaging/clipboard.h"
#include "imaging/hotkeys.h"
#include "imaging/packed_dib.h"
#include "imaging/png_image.h"
#include "imaging/save_dialog.h"
#include "magnifier/magnifier_window.h"
#include "resources/resource_ids.h"

namespace {
constexpr DWORD FileNameLength = 520;
}  // namespace

OwnedBitmap MagnifierWindow::CaptureImage(bool zoomed, bool selectionOnly)
{
    RECT selection;
    if (selectionOnly)
        SelectionRect(selection);
    return CaptureScreen(
        CaptureAreaOf(view_.sourceArea(), viewRect(), selectionOnly ? &selection : nullptr, Settings.ZoomFactor, zoomed));
}

void MagnifierWindow::CopyColourText()
{
    // The colour the readout sampled last (read now when the readouts rest).
    const COLORREF colour = readouts_.colourUnderMouse();
    char text[20];
    wsprintfA(text, Settings.DisplayRGBColourPanel ? "%d,%d,%d" : "#%02x%02x%02x", GetRValue(colour),
              GetGValue(colour), GetBValue(colour));
    PutTextOnClipboard(hwnd, text);
}

void MagnifierWindow::OnHotkey(WPARAM id)
{
    if (id == BitmapHotkeyId)
        PutBitmapOnClipboard(hwnd, CaptureImage(true, false));
    else if (id == ColourHotkeyId)
        CopyColourText();
}

int MagnifierWindow::ShowImageError(UINT id)
{
    ResString text(id);
    ResString caption(IDS_APP_TITLE);
    return MessageBoxA(hwnd, text.GetText(), caption.GetText(), MB_ICONERROR);
}

void MagnifierWindow::SaveImageAs(bool selectionOnly)
{
    bool zoomed = Settings.SaveZoomedImage != 0;
    bool png = false;
    char file[FileNameLength];
    if (!AskSaveFileName(hwnd, Settings.InitialDirectory, zoomed, png, file, FileNameLength))
        return;  // cancelled: the settings stay as they were

    Settings.SaveZoomedImage = zoomed ? 1 : 0;
    // Taken now, after the dialog has gone from the screen.
    const OwnedBitmap bitmap = CaptureImage(zoomed, selectionOnly);
    // A folder too long for the setting leaves the setting as it was.
    const std::string directory = DirectoryOf(file);
    if (directory.size() < sizeof(Settings.InitialDirectory))
        memcpy(Settings.InitialDirectory, directory.c_str(), directory.size() + 1);

    GlobalMemory block(bitmap ? PackBitmap(bitmap, BI_RGB, view_.palette()) : nullptr);
    if (!block) {
        ShowImageError(IDS_CAPTURE_FAILED);
        return;
    }
    if (!(png ? WritePngFile(file, block.get()) : WriteBmpFile(file, block.get())))
        ShowImageError(IDS_WRITE_FAILED);
}
