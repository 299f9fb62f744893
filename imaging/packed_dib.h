// Packed device-independent bitmaps: header, colour table and bottom-up pixel
// rows in one global memory block, made from a screen-compatible bitmap.
#pragma once
#include <windows.h>

// The bitmap as a packed DIB in a global block that the caller frees with
// GlobalFree, or null (BI_BITFIELDS asked for, no valid bitmap, no memory, no
// pixels). The palette (the stock default when null) gives the colour table
// of depths up to 8 bits.
HGLOBAL PackBitmap(HBITMAP bitmap, DWORD compression, HPALETTE palette);

// Colour-table entries of a BITMAPINFOHEADER or BITMAPCOREHEADER.
WORD DibColourCount(const void* header);

// Colour-table size in bytes (RGBTRIPLEs after a core header, else RGBQUADs).
WORD DibColourTableSize(const void* header);
