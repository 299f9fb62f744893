// A BMP file from a packed DIB: a file header before the block's bytes.
#include "imaging/bmp_file.h"

#include "base/owned_handle.h"
#include "base/scope_guards.h"
#include "imaging/file_replace.h"
#include "imaging/packed_dib.h"

bool WriteBmpFile(const char* path, HGLOBAL dib)
{
    if (!path || !dib)
        return false;
    LockedMemory<BYTE> data(dib);
    if (!data)
        return false;
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(data.get());
    if (GlobalSize(dib) < sizeof(BITMAPINFOHEADER) || header->biSize != sizeof(BITMAPINFOHEADER))
        return false;

    const DWORD table = DibColourTableSize(header);
    ULONGLONG pixels = header->biSizeImage;
    if (header->biCompression != BI_RLE8 && header->biCompression != BI_RLE4) {
        pixels = (static_cast<ULONGLONG>(header->biBitCount) * static_cast<DWORD>(header->biWidth) + 31) / 32 * 4 *
                 static_cast<DWORD>(header->biHeight);
    }
    const ULONGLONG dibSize = sizeof(BITMAPINFOHEADER) + table + pixels;
    // A header that claims more than the block holds is refused, not read
    // past the block's end.
    if (dibSize > GlobalSize(dib) || dibSize + sizeof(BITMAPFILEHEADER) > MAXDWORD)
        return false;
    if (header->biCompression != BI_RLE8 && header->biCompression != BI_RLE4)
        header->biSizeImage = static_cast<DWORD>(pixels);

    BITMAPFILEHEADER fileHeader = {};
    fileHeader.bfType = 0x4D42;  // "BM"
    fileHeader.bfSize = static_cast<DWORD>(dibSize + sizeof(BITMAPFILEHEADER));
    fileHeader.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + table;

    const FilePart parts[] = {{&fileHeader, sizeof(fileHeader)}, {data.get(), static_cast<DWORD>(dibSize)}};
    return ReplaceFileWith(path, parts, 2);
}
