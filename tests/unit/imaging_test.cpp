// Image output in-process, where the screen or the program's input cannot
// reach: a cleared hotkey, a selection capture, 24-bit files, refused writes.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "base/globals.h"
#include "base/owned_handle.h"
#include "base/scope_guards.h"
#include "imaging/bmp_file.h"
#include "imaging/hotkeys.h"
#include "imaging/packed_dib.h"
#include "tests/unit/view_support.h"
#include "window/magnifier_window.h"

namespace {

LONGLONG fileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return static_cast<LONGLONG>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

HGLOBAL packedDib(int width, int height, WORD bitCount)
{
    BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), width, height, 1, bitCount, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* bits = nullptr;
    OwnedBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    return PackBitmap(bitmap, BI_RGB, nullptr);
}

// Replaces one function the test program imports, for the life of the
// object: the program's calls then meet what a different driver would do.
class ImportPatch {
public:
    ImportPatch(const char* dll, const char* name, void* replacement)
    {
        const auto base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
        const auto* nt =
            reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
        const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        void* original = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(dll), name));
        for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
             d->Name && !slot_; ++d) {
            for (auto* t = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk); t->u1.Function; ++t) {
                if (reinterpret_cast<void*>(t->u1.Function) == original) {
                    slot_ = reinterpret_cast<void**>(&t->u1.Function);
                    break;
                }
            }
        }
        if (slot_)
            original_ = exchange(replacement);
    }
    ~ImportPatch()
    {
        if (slot_)
            exchange(original_);
    }
    explicit operator bool() const { return slot_ != nullptr; }
    void* original() const { return original_; }

private:
    void* exchange(void* function)
    {
        DWORD was = 0;
        VirtualProtect(slot_, sizeof(void*), PAGE_READWRITE, &was);
        void* old = *slot_;
        *slot_ = function;
        VirtualProtect(slot_, sizeof(void*), was, &was);
        return old;
    }
    void** slot_ = nullptr;
    void* original_ = nullptr;
};

// GetDIBits as a palette display's driver may answer it: 16 colours in use
// of an 8-bit depth.
using GetDIBitsProc = int(WINAPI*)(HDC, HBITMAP, UINT, UINT, void*, BITMAPINFO*, UINT);
GetDIBitsProc realGetDIBits = nullptr;
int WINAPI sixteenColourGetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info,
                                  UINT usage)
{
    const int result = realGetDIBits(dc, bitmap, start, lines, bits, info, usage);
    if (info->bmiHeader.biBitCount == 8)
        info->bmiHeader.biClrUsed = 16;
    return result;
}

class Capture : public QuietViewTest {
protected:
    void moreSettings() override { writeDword("ZoomFactor", 3); }
};

}  // namespace

TEST(Hotkeys, ClearedKeyRegistersNothing)
{
    HWND mine = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    const int colourKey = Settings.nHotKeyColourVK;
    Settings.nHotKeyColourVK = 0;
    RegisterHotkeys(mine);
    Settings.nHotKeyColourVK = colourKey;
    EXPECT_FALSE(RegisterHotKey(nullptr, 7, MOD_CONTROL | MOD_SHIFT, 'B'));  // the bitmap key is registered
    EXPECT_TRUE(RegisterHotKey(nullptr, 8, MOD_CONTROL | MOD_SHIFT, 'C'));
    UnregisterHotkeys(mine);
    EXPECT_TRUE(RegisterHotKey(nullptr, 7, MOD_CONTROL | MOD_SHIFT, 'B'));
    UnregisterHotKey(nullptr, 7);
    UnregisterHotKey(nullptr, 8);
    DestroyWindow(mine);
}

TEST_F(Capture, SelectionOfThirtyByFifteenAtZoomThree)
{
    sizeViewTo(200, 100);
    Magnifier.view().setZoomPoint(POINT{300, 200});
    const RECT v = Magnifier.view().viewRect();
    // Snapped: (9, 6) to (39, 21).
    Magnifier.mouse().keepSelection(POINT{v.left + 10, v.top + 7}, POINT{v.left + 40, v.top + 23});
    const POINT first = {300 - Magnifier.view().cells().halfCols + 3, 200 - Magnifier.view().cells().halfRows + 2};
    WindowDC screen(GetDC(nullptr), nullptr);
    for (int scale : {1, 3}) {
        const OwnedBitmap bitmap = Magnifier.imageOutput().CaptureImage(scale == 3, true);
        BITMAP shape = {};
        ASSERT_TRUE(GetObjectA(bitmap, sizeof(shape), &shape));
        EXPECT_EQ(10 * scale, shape.bmWidth);
        EXPECT_EQ(5 * scale, shape.bmHeight);
        OwnedDC memory(CreateCompatibleDC(screen));
        SelectedObject selected(memory, bitmap);
        for (int i = 0; i < 50 * scale * scale; i += 7)
            EXPECT_EQ(GetPixel(screen, first.x + i % (10 * scale) / scale, first.y + i / (10 * scale) / scale),
                      GetPixel(memory, i % (10 * scale), i / (10 * scale)));
    }
    // Nothing to capture, and no empty stretch.
    Magnifier.mouse().keepSelection(Magnifier.mouse().selectionStart(), Magnifier.mouse().selectionStart());
    EXPECT_FALSE(Magnifier.imageOutput().CaptureImage(true, true));
}

TEST(BmpFile, SizesOfA24BitAndA1x1FileAndRefusedWrites)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "scopella-unit-" + std::to_string(GetCurrentProcessId()) + ".bmp";
    // 101 x 51 at 24 bits: rows of 304 bytes after the 54 bytes of headers.
    GlobalMemory block(packedDib(101, 51, 24));
    ASSERT_TRUE(WriteBmpFile(path.c_str(), block.get()));
    EXPECT_EQ(15558, fileSize(path));
    block = GlobalMemory(packedDib(1, 1, 32));
    ASSERT_TRUE(WriteBmpFile(path.c_str(), block.get()));
    EXPECT_EQ(58, fileSize(path));
    // A missing folder, and a header that is not 40 bytes: false, the
    // earlier file kept, nothing left beside it.
    EXPECT_FALSE(WriteBmpFile((std::string(folder) + "no-such-folder\\x.bmp").c_str(), block.get()));
    static_cast<BITMAPINFOHEADER*>(GlobalLock(block.get()))->biSize = sizeof(BITMAPCOREHEADER);
    GlobalUnlock(block.get());
    EXPECT_FALSE(WriteBmpFile(path.c_str(), block.get()));
    EXPECT_EQ(58, fileSize(path));
    EXPECT_EQ(-1, fileSize(path + "~0.tmp"));
    DeleteFileA(path.c_str());
}

TEST(BmpFile, SavesToTheLongestPathsAndLeavesNothingBeside)
{
    // A folder of 240 characters (folders take less than files), and files
    // in it whose paths have 254 to 259 characters.
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "scopella-long-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string top = folder;
    folder += "\\" + std::string(239 - folder.size(), 'd');
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder.size();
    GlobalMemory block(packedDib(3, 2, 24));
    for (size_t length = 254; length < MAX_PATH; ++length) {
        const std::string path = folder + "\\" + std::string(length - folder.size() - 5, 'v') + ".bmp";
        ASSERT_EQ(length, path.size());
        EXPECT_TRUE(WriteBmpFile(path.c_str(), block.get())) << length;
        EXPECT_TRUE(WriteBmpFile(path.c_str(), block.get())) << length << ", replacing";
        EXPECT_EQ(54 + 2 * 12, fileSize(path)) << length;
    }
    WIN32_FIND_DATAA found;
    int files = 0;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        ++files;
        EXPECT_EQ(0, lstrcmpiA(found.cFileName + strlen(found.cFileName) - 4, ".bmp")) << found.cFileName;
        DeleteFileA((folder + "\\" + found.cFileName).c_str());
    }
    FindClose(search);
    EXPECT_EQ(6, files);
    RemoveDirectoryA(folder.c_str());
    RemoveDirectoryA(top.c_str());
}

TEST(PackedDib, AColourTableShorterThanTheDepthIsPackedAndWrittenAsItsHeaderSays)
{
    // An 8-bit bitmap with 16 colours in use, reported so by the driver
    // (Wine's own GetDIBits reports every colour of the depth: todo_wine).
    ImportPatch patch("gdi32.dll", "GetDIBits", reinterpret_cast<void*>(sixteenColourGetDIBits));
    ASSERT_TRUE(patch);
    realGetDIBits = reinterpret_cast<GetDIBitsProc>(patch.original());
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[16];
    } info = {{sizeof(BITMAPINFOHEADER), 5, 3, 1, 8, BI_RGB, 0, 0, 0, 16, 0}, {}};
    for (BYTE i = 0; i < 16; ++i)
        info.colours[i] = RGBQUAD{i, static_cast<BYTE>(255 - i * 16), static_cast<BYTE>(i * 16), 0};
    BYTE* bits = nullptr;
    OwnedBitmap bitmap(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                        reinterpret_cast<void**>(&bits), nullptr, 0));
    ASSERT_TRUE(bitmap && bits);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            bits[y * 8 + x] = static_cast<BYTE>((x + 5 * y) % 16);
    GlobalMemory block(PackBitmap(bitmap, BI_RGB, nullptr));
    ASSERT_TRUE(block);

    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "scopella-8bit-" + std::to_string(GetCurrentProcessId()) + ".bmp";
    ASSERT_TRUE(WriteBmpFile(path.c_str(), block.get()));
    std::string file(static_cast<size_t>(fileSize(path)), '\0');
    {
        OwnedFile opened(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        DWORD read = 0;
        ASSERT_TRUE(ReadFile(opened, &file[0], static_cast<DWORD>(file.size()), &read, nullptr));
    }
    DeleteFileA(path.c_str());
    const auto* fileHeader = reinterpret_cast<const BITMAPFILEHEADER*>(file.data());
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(file.data() + sizeof(BITMAPFILEHEADER));
    EXPECT_EQ(file.size(), fileHeader->bfSize);
    EXPECT_EQ(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + DibColourTableSize(header), fileHeader->bfOffBits);
    EXPECT_EQ(fileHeader->bfOffBits + 3 * 8, file.size());
    // Every pixel read through the file's own table is the bitmap's colour.
    const auto* table = reinterpret_cast<const RGBQUAD*>(header + 1);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            const BYTE index = static_cast<BYTE>(file[fileHeader->bfOffBits + y * 8 + x]);
            ASSERT_LT(index, DibColourCount(header));
            const RGBQUAD want = info.colours[(x + 5 * y) % 16];
            EXPECT_EQ(RGB(want.rgbRed, want.rgbGreen, want.rgbBlue),
                      RGB(table[index].rgbRed, table[index].rgbGreen, table[index].rgbBlue))
                << x << "," << y;
        }
    }
}
