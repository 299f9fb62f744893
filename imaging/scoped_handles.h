// Kernel and clipboard resources that release themselves at the end of a
// scope: the clipboard opened by this program, global memory blocks and their
// locks, and open files. No return path of a copy or a save can leak one.
#pragma once
#include <windows.h>

#include <utility>

// The clipboard opened for a window, closed again at the end of the scope.
class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~OpenedClipboard() { close(); }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;

    explicit operator bool() const { return open_; }
    // Closes it now; true when it was open and the system closed it.
    bool close() { return std::exchange(open_, false) && CloseClipboard() != FALSE; }

private:
    bool open_;
};

// Sole owner of a global memory block, freed unless it was released (to the
// clipboard or to a caller).
class GlobalMemory {
public:
    GlobalMemory() = default;
    explicit GlobalMemory(HGLOBAL block) : block_(block) {}
    ~GlobalMemory() { reset(); }
    GlobalMemory(GlobalMemory&& other) noexcept : block_(other.release()) {}
    GlobalMemory& operator=(GlobalMemory&& other) noexcept
    {
        reset(other.release());
        return *this;
    }
    GlobalMemory(const GlobalMemory&) = delete;
    GlobalMemory& operator=(const GlobalMemory&) = delete;

    HGLOBAL get() const { return block_; }
    explicit operator bool() const { return block_ != nullptr; }
    HGLOBAL release() { return std::exchange(block_, nullptr); }
    void reset(HGLOBAL block = nullptr)
    {
        if (block_ && block_ != block)
            GlobalFree(block_);
        block_ = block;
    }

private:
    HGLOBAL block_ = nullptr;
};

// A global memory block locked for the scope: its address, or null when the
// block could not be locked.
template <class T = BYTE>
class LockedMemory {
public:
    explicit LockedMemory(HGLOBAL block) : block_(block), data_(block ? static_cast<T*>(GlobalLock(block)) : nullptr) {}
    ~LockedMemory()
    {
        if (data_)
            GlobalUnlock(block_);
    }
    LockedMemory(const LockedMemory&) = delete;
    LockedMemory& operator=(const LockedMemory&) = delete;

    T* get() const { return data_; }
    T* operator->() const { return data_; }
    explicit operator bool() const { return data_ != nullptr; }

private:
    HGLOBAL block_;
    T* data_;
};

// An open file handle, closed at the end of the scope.
class OwnedFile {
public:
    explicit OwnedFile(HANDLE file) : file_(file) {}
    ~OwnedFile() { close(); }
    OwnedFile(const OwnedFile&) = delete;
    OwnedFile& operator=(const OwnedFile&) = delete;

    operator HANDLE() const { return file_; }
    explicit operator bool() const { return file_ != INVALID_HANDLE_VALUE && file_ != nullptr; }
    // Closes it now; true when it was open and closed without error (the
    // last buffered bytes reached the disk).
    bool close()
    {
        const HANDLE file = std::exchange(file_, INVALID_HANDLE_VALUE);
        return file != INVALID_HANDLE_VALUE && file != nullptr && CloseHandle(file) != FALSE;
    }

private:
    HANDLE file_;
};
