// A device-dependent bitmap turned into a packed DIB by the two GetDIBits
// calls: the first fills in the header and colour table, the second the rows.
#include "imaging/packed_dib.h"

#include "base/owned_handle.h"
#include "base/scope_guards.h"

namespace {

WORD coloursOfDepth(WORD bitCount)
{
    switch (bitCount) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

}  // namespace

WORD DibColourCount(const void* header)
{
    const auto* info = static_cast<const BITMAPINFOHEADER*>(header);
    if (info->biSize == sizeof(BITMAPCOREHEADER))
        return coloursOfDepth(static_cast<const BITMAPCOREHEADER*>(header)->bcBitCount);
    if (info->biClrUsed != 0)
        return LOWORD(info->biClrUsed);
    return coloursOfDepth(info->biBitCount);
}

WORD DibColourTableSize(const void* header)
{
    const auto* info = static_cast<const BITMAPINFOHEADER*>(header);
    const WORD entry = info->biSize == sizeof(BITMAPCOREHEADER) ? sizeof(RGBTRIPLE) : sizeof(RGBQUAD);
    return static_cast<WORD>(DibColourCount(header) * entry);
}

HGLOBAL PackBitmap(HBITMAP bitmap, DWORD compression, HPALETTE palette)
{
    if (compression == BI_BITFIELDS)
        return nullptr;
    if (!palette)
        palette = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
    BITMAP shape = {};
    if (!bitmap || !GetObjectA(bitmap, sizeof(shape), &shape))
        return nullptr;

    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = shape.bmWidth;
    header.biHeight = shape.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(shape.bmPlanes * shape.bmBitsPixel);
    header.biCompression = compression;
    const DWORD tableBytes = header.biBitCount <= 8 ? (1u << header.biBitCount) * sizeof(RGBQUAD) : 0;
    const UINT lines = static_cast<UINT>(header.biHeight);

    WindowDC screen(GetDC(nullptr), nullptr);
    if (!screen)
        return nullptr;
    SelectedPalette selected(screen, palette);
    RealizePalette(screen);

    // Zeroed: a driver may fill fewer table entries than the depth has.
    GlobalMemory block(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, header.biSize + tableBytes));
    if (!block)
        return nullptr;
    {
        LockedMemory<BITMAPINFO> info(block.get());
        if (!info)
            return nullptr;
        info->bmiHeader = header;
        GetDIBits(screen, bitmap, 0, lines, nullptr, info.get(), DIB_RGB_COLORS);
        header = info->bmiHeader;
    }

    DWORD imageBytes = header.biSizeImage;
    if (imageBytes == 0) {
        imageBytes = ((static_cast<DWORD>(header.biWidth) * header.biBitCount + 31) & ~31u) / 8 *
                     static_cast<DWORD>(header.biHeight);
        if (compression != BI_RGB)
            imageBytes = imageBytes * 3 / 2;
    }
    HGLOBAL grown = GlobalReAlloc(block.get(), header.biSize + tableBytes + imageBytes, GMEM_MOVEABLE);
    if (!grown)
        return nullptr;  // the old block is freed with its owner
    block.release();
    block.reset(grown);
    {
        LockedMemory<BYTE> data(block.get());
        if (!data)
            return nullptr;
        auto* info = reinterpret_cast<BITMAPINFO*>(data.get());
        if (!GetDIBits(screen, bitmap, 0, lines, data.get() + header.biSize + tableBytes, info, DIB_RGB_COLORS))
            return nullptr;
        // The rows follow a table of every colour of the depth; a driver that
        // reports fewer colours in use would make the header describe a
        // shorter table, and every reader would take the rows from the wrong
        // place. The header describes the table as laid out.
        info->bmiHeader.biClrUsed = 0;
        if (info->bmiHeader.biClrImportant > tableBytes / sizeof(RGBQUAD))
            info->bmiHeader.biClrImportant = 0;
    }
    return block.release();
}
