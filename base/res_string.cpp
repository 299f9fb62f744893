#include "base/res_string.h"

ResString::ResString(UINT id) : id(id), text(nullptr), length(0) {}

ResString::~ResString()
{
    if (text) {
        HeapFree(ProcessHeap, 0, text);
        text = nullptr;
    }
}

const char* ResString::GetText()
{
    return LoadText();
}

const char* ResString::TextOrEmpty()
{
    const char* loaded = LoadText();
    return loaded ? loaded : "";
}

int ResString::GetLength()
{
    LoadText();
    return length;
}

const char* ResString::LoadText()
{
    if (text)
        return text;

    // A string-table block holds 16 counted UTF-16 strings, so its byte size
    // exceeds the ANSI length of any one of them: a safe buffer size.
    HRSRC block = FindResourceA(ModuleHandle, MAKEINTRESOURCEA(id / 16 + 1), MAKEINTRESOURCEA(6) /* RT_STRING */);
    if (!block)
        return nullptr;
    DWORD size = SizeofResource(ModuleHandle, block);
    if (size == 0)
        return nullptr;
    char* buffer = static_cast<char*>(HeapAlloc(ProcessHeap, HEAP_ZERO_MEMORY, size));
    if (!buffer)
        return nullptr;
    if (LoadStringA(ModuleHandle, id, buffer, static_cast<int>(size)) == 0) {
        HeapFree(ProcessHeap, 0, buffer);
        return nullptr;
    }
    length = lstrlenA(buffer);
    void* shrunk = HeapReAlloc(ProcessHeap, HEAP_ZERO_MEMORY, buffer, static_cast<SIZE_T>(length) + 1);
    text = shrunk ? static_cast<char*>(shrunk) : buffer;
    return text;
}
