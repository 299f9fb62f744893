// Writing a packed DIB as a Windows BMP file.
#pragma once
#include <windows.h>

// Writes the 14-byte file header and the packed DIB (40-byte header, colour
// table, rows) to the path. The file is written beside the target and takes
// its place only when every byte is on the disk, so a failed write leaves an
// earlier file as it was and no partial file behind. True when written.
bool WriteBmpFile(const char* path, HGLOBAL dib);
