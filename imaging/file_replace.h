// Writing a whole file so that a failure never costs the file it replaces.
#pragma once
#include <windows.h>

#include <cstddef>

// One piece of the file's bytes, written in order.
struct FilePart {
    const void* data;
    DWORD size;
};

// Writes the parts, in order, to a new file beside the target and moves it
// over the target only when every byte is on the disk: a failed write leaves
// an earlier file as it was and no partial file behind. True when written.
bool ReplaceFileWith(const char* path, const FilePart* parts, size_t count);
