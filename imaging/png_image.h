// PNG images of packed DIBs, encoded with the Windows Imaging Component: the
// picture for programs that take PNG and no device-independent bitmap (web
// browsers, chat and mail programs, and X programs under Wine).
#pragma once
#include <windows.h>

// The packed DIB (40-byte header, colour table, BI_RGB rows of 1, 4, 8, 16,
// 24 or 32 bits per pixel, as PackBitmap makes it) as the bytes of a PNG
// file: 24-bit RGB of the same pixels, no alpha, no gamma or colour-profile
// chunk. A movable global block of exactly the PNG's size, which the caller
// frees with GlobalFree; null when the block is not such a DIB or WIC is
// missing or fails.
HGLOBAL EncodePng(HGLOBAL dib);

// Writes the packed DIB as a PNG file, beside the target and moved over it
// once complete, like WriteBmpFile. True when written.
bool WritePngFile(const char* path, HGLOBAL dib);
