// The window chrome's sizes at the DPI of the monitor the window is on. At
// 96 DPI every size is the one the chrome was designed in; above it the sizes
// grow in proportion. The view, the grid, the cursor and every other pixel
// arithmetic stay in physical pixels and never go through here.
#pragma once
#include <windows.h>

constexpr int BaseDpi = 96;

// The window's DPI: GetDpiForWindow where the system has it (looked up at run
// time, so the program still starts on older systems), else the screen's.
int dpiForWindow(HWND window);

// The DPI the system's stock fonts and metrics are made for.
int systemDpi();

// A size designed at 96 DPI, at the given DPI.
int scaleToDpi(int size, int dpi);

// The toolbar's image set for a DPI: bitmap resource and the size of one image.
struct ToolbarImageSet {
    UINT bitmap;
    int width;
    int height;
};
ToolbarImageSet toolbarImagesForDpi(int dpi);

// The GUI font at a DPI other than the system's (the stock font serves at the
// system's own); the caller owns it. Null when the stock font is the one.
HFONT createGuiFontForDpi(int dpi);
