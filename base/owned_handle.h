// One owner for every kind of handle the program holds: GDI objects, device
// contexts, modules, menus, registry keys, hooks, icons, windows, files and
// local or global memory. The kind's traits say what "no handle" is and how
// the handle is given back; the owner gives it back when it ends or is given
// another, so that no return path can leak one.
#pragma once
#include <windows.h>

#include <utility>

// Sole owner of one handle of the kind the traits describe. Traits provide
// Handle, none(), valid(handle) and close(handle); a kind whose release
// needs more than the handle (the window of a GetDC) keeps it in its traits.
template <class Traits>
class OwnedHandle : private Traits {
public:
    using Handle = typename Traits::Handle;

    OwnedHandle() : handle_(Traits::none()) {}
    explicit OwnedHandle(Handle handle, Traits traits = Traits()) : Traits(traits), handle_(handle) {}
    ~OwnedHandle() { reset(); }
    OwnedHandle(OwnedHandle&& other) noexcept : Traits(other), handle_(other.release()) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept
    {
        if (this != &other) {
            reset();
            Traits::operator=(static_cast<const Traits&>(other));
            handle_ = other.release();
        }
        return *this;
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    Handle get() const { return handle_; }
    operator Handle() const { return handle_; }
    explicit operator bool() const { return Traits::valid(handle_); }

    // Gives up ownership: the caller (or the clipboard, or a window) owns it.
    Handle release() { return std::exchange(handle_, Traits::none()); }
    void reset(Handle handle = Traits::none())
    {
        const Handle old = std::exchange(handle_, handle);
        if (Traits::valid(old) && old != handle)
            Traits::close(old);
    }
    // Gives the handle back now; true when one was held and the system took
    // it back without error (a file's last buffered bytes reached the disk).
    bool close()
    {
        const Handle old = release();
        return Traits::valid(old) && Traits::close(old);
    }

private:
    Handle handle_;
};

// Kinds whose "no handle" is null.
template <class H>
struct NullIsNone {
    using Handle = H;
    static Handle none() { return nullptr; }
    static bool valid(Handle handle) { return handle != nullptr; }
};

// Pens, brushes, bitmaps, regions, fonts, palettes.
template <class H>
struct GdiObjectTraits : NullIsNone<H> {
    static bool close(H object) { return DeleteObject(object) != FALSE; }
};

// A context from GetDC, released to the window it came from (null: the screen).
struct WindowDCTraits : NullIsNone<HDC> {
    WindowDCTraits(HWND owner = nullptr) : window(owner) {}
    bool close(HDC dc) const { return ReleaseDC(window, dc) != 0; }
    HWND window;
};

// A context made with CreateDC or CreateCompatibleDC.
struct CreatedDCTraits : NullIsNone<HDC> {
    static bool close(HDC dc) { return DeleteDC(dc) != FALSE; }
};

struct ModuleTraits : NullIsNone<HMODULE> {
    static bool close(HMODULE module) { return FreeLibrary(module) != FALSE; }
};

struct MenuTraits : NullIsNone<HMENU> {
    static bool close(HMENU menu) { return DestroyMenu(menu) != FALSE; }
};

struct RegistryKeyTraits : NullIsNone<HKEY> {
    static bool close(HKEY key) { return RegCloseKey(key) == ERROR_SUCCESS; }
};

struct HookTraits : NullIsNone<HHOOK> {
    static bool close(HHOOK hook) { return UnhookWindowsHookEx(hook) != FALSE; }
};

struct IconTraits : NullIsNone<HICON> {
    static bool close(HICON icon) { return DestroyIcon(icon) != FALSE; }
};

struct WindowTraits : NullIsNone<HWND> {
    static bool close(HWND window) { return DestroyWindow(window) != FALSE; }
};

struct LocalMemoryTraits : NullIsNone<HLOCAL> {
    static bool close(HLOCAL block) { return LocalFree(block) == nullptr; }
};

struct GlobalMemoryTraits : NullIsNone<HGLOBAL> {
    static bool close(HGLOBAL block) { return GlobalFree(block) == nullptr; }
};

// Kernel handles whose "no handle" is INVALID_HANDLE_VALUE.
struct InvalidIsNone {
    using Handle = HANDLE;
    static Handle none() { return INVALID_HANDLE_VALUE; }
    static bool valid(Handle handle) { return handle != INVALID_HANDLE_VALUE && handle != nullptr; }
};

struct FileTraits : InvalidIsNone {
    static bool close(HANDLE file) { return CloseHandle(file) != FALSE; }
};

struct FindTraits : InvalidIsNone {
    static bool close(HANDLE search) { return FindClose(search) != FALSE; }
};

using OwnedPen = OwnedHandle<GdiObjectTraits<HPEN>>;
using OwnedBrush = OwnedHandle<GdiObjectTraits<HBRUSH>>;
using OwnedBitmap = OwnedHandle<GdiObjectTraits<HBITMAP>>;
using OwnedRegion = OwnedHandle<GdiObjectTraits<HRGN>>;
using OwnedFont = OwnedHandle<GdiObjectTraits<HFONT>>;
using OwnedPalette = OwnedHandle<GdiObjectTraits<HPALETTE>>;
// WindowDC dc(GetDC(window), window);
using WindowDC = OwnedHandle<WindowDCTraits>;
// OwnedDC memory(CreateCompatibleDC(reference));
using OwnedDC = OwnedHandle<CreatedDCTraits>;
using OwnedModule = OwnedHandle<ModuleTraits>;
using OwnedMenu = OwnedHandle<MenuTraits>;
using OwnedKey = OwnedHandle<RegistryKeyTraits>;
using OwnedHook = OwnedHandle<HookTraits>;
using OwnedIcon = OwnedHandle<IconTraits>;
using OwnedWindow = OwnedHandle<WindowTraits>;
using LocalMemory = OwnedHandle<LocalMemoryTraits>;
using GlobalMemory = OwnedHandle<GlobalMemoryTraits>;
using OwnedFile = OwnedHandle<FileTraits>;
using OwnedFind = OwnedHandle<FindTraits>;
