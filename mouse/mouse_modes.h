// The mouse modes of the view: a left-drag picks the zoom point (with the
// highlight frame and a tip), a right-drag selects magnified pixels (with the
// marquee and a size tip) and ends in the selection menu, the context menus of
// the window's areas and their help, and panning with the middle button. Its
// parts are spread over mouse_modes.cpp (the drags), selection.cpp,
// context_menu.cpp and panning.cpp.
#pragma once
#include <windows.h>

#include "chrome/chrome.h"
#include "overlays/drag_highlight.h"
#include "overlays/marquee.h"
#include "overlays/tracking_tooltip.h"
#include "view/zoom_view.h"

class MouseModes {
public:
    // The view the modes move and zoom, and the chrome whose areas have
    // menus and whose status bar shows the pick's prompt.
    MouseModes(ZoomView& view, const WindowChrome& chrome);
    MouseModes(const MouseModes&) = delete;
    MouseModes& operator=(const MouseModes&) = delete;

    // The window whose mouse messages these are; menu commands go to it.
    void attach(HWND owner) { window = owner; }

    // Where the modes stand
    bool pickingPoint() const { return picking; }
    bool selecting() const { return dragging; }
    bool hasSelection() const { return kept; }
    // A selection being dragged or kept (the view holds still for it).
    bool selectionUnderWay() const { return dragging || kept; }
    POINT selectionStart() const { return start; }
    // The selection snapped to whole magnified pixels (client coordinates).
    void SelectionRect(RECT& rect) const;
    // A selection from start to end kept, as a right-drag leaves it while
    // its menu is open (client coordinates).
    void keepSelection(POINT from, POINT to);
    void CancelSelection();
    void EndPointPick();

    // Mouse messages over the view (client coordinates)
    void OnMouseMove(POINT client);
    void OnLButtonDown();
    void OnLButtonUp();
    void OnRButtonDown(POINT client);
    void OnRButtonUp(POINT client);
    void OnMiddleButtonDown(int x, int y);
    void OnPanningEnd();
    // Ctrl+H: the highlight frame blinks around the magnified area.
    void blinkHighlight();

    // Context menus and context help of the window's areas (screen points)
    bool ContextHelpIdAt(POINT screenPoint, DWORD& id) const;
    bool ShowContextMenu(POINT screenPoint);

    // The overlays, as they are now
    const TrackingToolTip& trackingTip() const { return tip; }
    const Marquee& marquee() const { return marquee_; }

private:
    void UpdateSelectionFeedback();
    void releaseDragCapture() const;
    void showWhatsThis(POINT screenPoint, DWORD helpId);

    ZoomView& view;
    const WindowChrome& chrome;
    HWND window = nullptr;
    bool picking = false;
    bool dragging = false;
    bool kept = false;
    // The ends of the selection in client coordinates, not yet snapped.
    POINT start = {0, 0};
    POINT end = {0, 0};
    TrackingToolTip tip;
    Marquee marquee_;
    DragHighlight highlight;
};
