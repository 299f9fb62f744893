// Image output: the view (or the selection) captured for the copy commands,
// the bitmap hotkey and Save; the colour under the mouse copied as text; what
// the two hotkeys do.
#pragma once
#include <windows.h>

#include "base/owned_handle.h"
#include "mouse/mouse_modes.h"
#include "readouts/readouts.h"
#include "view/zoom_view.h"

class ImageOutput {
public:
    // The view it captures, the readouts whose colour it copies, and the
    // mouse modes whose selection it captures.
    ImageOutput(ZoomView& view, LiveReadouts& readouts, const MouseModes& mouse);
    ImageOutput(const ImageOutput&) = delete;
    ImageOutput& operator=(const ImageOutput&) = delete;

    // The window that owns the clipboard and the dialogs.
    void attach(HWND owner) { window = owner; }

    OwnedBitmap CaptureImage(bool zoomed, bool selectionOnly);
    // A copy command: the capture on the clipboard.
    void copyImage(bool zoomed, bool selectionOnly);
    void CopyColourText();
    void OnHotkey(WPARAM id);
    void SaveImageAs(bool selectionOnly);
    int ShowImageError(UINT id);

private:
    ZoomView& view;
    LiveReadouts& readouts;
    const MouseModes& mouse;
    HWND window = nullptr;
};
