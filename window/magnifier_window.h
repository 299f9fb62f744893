// The one object behind the main window: a dispatcher of its messages that
// owns the zoom view and the window's other parts. Its handlers are spread
// over the files of this folder by subject.
#pragma once
#include <windows.h>

#include "chrome/chrome.h"
#include "inspector/inspector.h"
#include "mouse/mouse_modes.h"
#include "output/image_output.h"
#include "readouts/readouts.h"
#include "view/zoom_view.h"

// The auto-update timer of the main window (timer 2 is the readouts').
enum : UINT_PTR { AutoUpdateTimer = 1 };

// The main window: it owns the chrome, the zoom view, the mouse modes, the
// readouts and image output, and dispatches every message to the handler of
// the part it belongs to.
class MagnifierWindow {
public:
    MagnifierWindow();

    MagnifierWindow(const MagnifierWindow&) = delete;
    MagnifierWindow& operator=(const MagnifierWindow&) = delete;

    // The window this object handles (null before it is made and after it ends).
    HWND handle() const { return hwnd; }
    void attach(HWND window) { hwnd = window; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // The parts of the window
    ZoomView& view() { return view_; }
    WindowChrome& chrome() { return chrome_; }
    MouseModes& mouse() { return mouse_; }
    LiveReadouts& readouts() { return readouts_; }
    ImageOutput& imageOutput() { return output_; }
    Inspector& inspector() { return inspector_; }

    // What the settings' switches change in the window
    void applyAlwaysOnTop();
    void syncGridButton();
    void syncFollowButton();
    void applyToolbarVisibility();
    void applyStatusbarVisibility();
    void applyTransparency();
    // The colour inspector shown or hidden, fed by the readout tick while shown.
    void showInspector(bool shown);

    // Live readouts and update rate
    LRESULT OnTimer(UINT_PTR timerId);
    LRESULT OnHScroll(WPARAM wParam, HWND sender);
    void setUpdateRate(int rate, bool force);

    // Placement
    void keepOnScreen();

    // Commands and keys
    bool OnCommand(UINT command);
    void runOptions();
    void OnKeyDown(UINT virtualKey);
    void OnMouseWheel(WPARAM wParam);

private:
    HWND hwnd = nullptr;
    WindowChrome chrome_;
    ZoomView view_;
    MouseModes mouse_;
    LiveReadouts readouts_;
    ImageOutput output_;
    Inspector inspector_;
    // Screen position of the normal rectangle less the one the window
    // placement reports (see normalRectOnScreen).
    POINT placementShift = {0, 0};

    void onActivate(WPARAM wParam, LPARAM lParam);
    void takeFocusBack();
    void onDialogEnded();
    void onDestroy();
    void onSize(WPARAM kind, int width, int height);
    void onKillFocus(HWND gainingFocus);
    void onMouseMove(POINT client);
    void onSysKeyDown();
    void onPaint();
    void onDisplayChange();
    LRESULT onSysCommand(WPARAM wParam, LPARAM lParam);
    LRESULT onRegisteredMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void onOriginUpdate(LPARAM steps);
    bool onCreate();
    void checkHelpFreshness();
    void appendSystemMenuItems();
    void onDpiChanged(int newDpi, const RECT* suggested);
    // The period timer 1 was last armed with (kept until the rate is set anew).
    UINT autoUpdatePeriod = 0;
    // Timer 1 made the view invalid, and nothing else is known to be.
    bool onlyViewInvalid = false;
    // A dialog the window owned has ended, and the focus is not yet back.
    bool dialogEnded = false;
};

extern MagnifierWindow Magnifier;  // the one main-window object
