// Zoom geometry: which rectangle of the desktop the view magnifies, how far
// the zoom point may travel and where the highlight frame belongs. The
// arithmetic is kept in plain functions so it can be checked without a window.
#pragma once
#include <windows.h>

// Screen area the zoom point moves in: the virtual screen (all monitors) where
// the platform has several, else the primary screen at (0, 0).
extern int screenLeft;
extern int screenTop;
extern int screenWidth;
extern int screenHeight;

void updateScreenMetrics();

struct ScreenArea {
    int left, top, width, height;
};

struct CellLayout {
    int viewCols, viewRows;  // screen pixels copied into the view
    int halfCols, halfRows;
    int maxPointX, maxPointY;
};

// Cells of a view w x h (both >= 0) at the given zoom factor.
CellLayout layoutCells(int width, int height, int zoom, const ScreenArea& screen);

// Keeps v within [lo, hi], testing the lower bound first: when lo > hi (the
// view is wider than the screen) points below lo give lo, all others hi.
int clampCoordinate(int v, int lo, int hi);

// The frame one pixel outside the magnified rectangle around a clamped point.
RECT highlightAround(POINT clamped, int halfCols, int halfRows, int viewCols, int viewRows);

// Zooming into a selection of the view: the new highlight rectangle, zoom
// point and (unclamped) zoom factor.
struct SelectionZoom {
    RECT highlight;
    POINT zoomPoint;
    int factor;
};
SelectionZoom zoomIntoSelection(const RECT& selection, const RECT& view, const RECT& highlight, int zoom);
