// What the zoom view asks of the window around it: the room the bars leave
// it, and the bars' following its layout and zoom.
#pragma once
#include <windows.h>

// What the view asks of the window around it.
class ViewHost {
public:
    // The client area less the bars that are shown.
    virtual RECT viewRect() const = 0;
    // The view was laid out anew in this rectangle: the bars follow its width.
    virtual void viewLaidOut(const RECT& view) = 0;
    // The zoom factor changed: the zoom trackbar and its tip follow.
    virtual void zoomChanged(int factor) = 0;

protected:
    ~ViewHost() = default;
};
