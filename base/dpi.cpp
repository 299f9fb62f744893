// DPI of the window and the sizes of the chrome at it.
#include "base/dpi.h"

#include "base/owned_handle.h"
#include "resources/resource_ids.h"

int systemDpi()
{
    WindowDC screen(GetDC(nullptr), nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : BaseDpi;
}

int dpiForWindow(HWND window)
{
    using GetDpiForWindowProc = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowProc>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    const int dpi = getDpiForWindow && window ? static_cast<int>(getDpiForWindow(window)) : 0;
    return dpi > 0 ? dpi : systemDpi();
}

int scaleToDpi(int size, int dpi)
{
    return dpi == BaseDpi ? size : MulDiv(size, dpi, BaseDpi);
}

ToolbarImageSet toolbarImagesForDpi(int dpi)
{
    // The smallest set at least as large as the 16-pixel images at this DPI.
    const int wanted = scaleToDpi(16, dpi);
    if (wanted <= 16)
        return {IDB_TOOLBAR, 16, 15};
    if (wanted <= 24)
        return {IDB_TOOLBAR_24, 24, 22};
    return {IDB_TOOLBAR_32, 32, 30};
}

HFONT createGuiFontForDpi(int dpi)
{
    const int fontDpi = systemDpi();
    if (dpi == fontDpi)
        return nullptr;
    LOGFONTA font = {};
    if (!GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font))
        return nullptr;
    font.lfHeight = MulDiv(font.lfHeight, dpi, fontDpi);
    font.lfWidth = MulDiv(font.lfWidth, dpi, fontDpi);
    return CreateFontIndirectA(&font);
}
