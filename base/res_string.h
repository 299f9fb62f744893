// A text of the string table, loaded by id on first use and kept in a block of
// the process heap that the object owns.
#pragma once
#include <windows.h>

// The module whose string table the texts come from, and the heap of their
// blocks (defined with the other process-wide objects in globals.cpp).
extern HMODULE ModuleHandle;
extern HANDLE ProcessHeap;

class ResString {
public:
    explicit ResString(UINT id);
    virtual ~ResString();

    ResString(const ResString&) = delete;
    ResString& operator=(const ResString&) = delete;

    // The text, or null when the string table has no such string. Loads on
    // first use; a failed load is tried again by the next call.
    const char* GetText();
    // The text, or an empty one when it cannot be loaded: for a format or a
    // copy that needs some text.
    const char* TextOrEmpty();
    // Length in characters without the terminator; 0 when it cannot be loaded.
    int GetLength();
    // The same as GetText: does the loading while the text is still null.
    const char* LoadText();

    UINT Id() const { return id; }
    bool IsLoaded() const { return text != nullptr; }

private:
    UINT id;
    char* text;
    int length;
};
