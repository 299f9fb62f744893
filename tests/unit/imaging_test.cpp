// Image output in-process: the hotkeys against another window holding one,
// the capture of a selection, and packed bitmaps written as BMP files where
// the screen cannot give the depth (24 bits) or the failure is hard to cause
// from outside (refused blocks, a missing folder).
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/globals.h"
#include "app/scoped_gdi.h"
#include "imaging/bmp_file.h"
#include "imaging/hotkeys.h"
#include "imaging/packed_dib.h"
#include "imaging/scoped_handles.h"
#include "magnifier/magnifier_window.h"
#include "tests/unit/view_support.h"

namespace {

std::string fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

DWORD field(const std::string& bytes, size_t offset, size_t size = 4)
{
    DWORD value = 0;
    for (size_t i = 0; i < size; ++i)
        value |= static_cast<DWORD>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
    return value;
}

// A folder of its own under the temporary folder, removed with its files.
struct TempFolder {
    std::string path;
    TempFolder()
    {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        path = std::string(base) + "scopella-imaging-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(path.c_str(), nullptr);
    }
    ~TempFolder()
    {
        for (const std::string& name : names())
            DeleteFileA((path + name).c_str());
        RemoveDirectoryA(path.c_str());
    }
    std::vector<std::string> names()
    {
        std::vector<std::string> found;
        WIN32_FIND_DATAA data;
        HANDLE search = FindFirstFileA((path + "*").c_str(), &data);
        for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &data)) {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                found.push_back(data.cFileName);
        }
        if (search != INVALID_HANDLE_VALUE)
            FindClose(search);
        return found;
    }
};

HBITMAP dibSection(int width, int height, WORD bitCount)
{
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, bitCount, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

class Capture : public QuietViewTest {
protected:
    void moreSettings() override { writeDword("ZoomFactor", 3); }
};

}  // namespace

TEST(Hotkeys, EachRegisteredOnItsOwnAndExactlyTheRegisteredDropped)
{
    HWND other = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    HWND mine = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    const int keptVK = Settings.nHotKeyColourVK;
    // Ctrl+Shift+B is another window's: Ctrl+Shift+C is still registered.
    ASSERT_TRUE(RegisterHotKey(other, 7, MOD_CONTROL | MOD_SHIFT, 'B'));
    RegisterHotkeys(mine);
    EXPECT_FALSE(RegisterHotKey(other, 8, MOD_CONTROL | MOD_SHIFT, 'C'));
    UnregisterHotKey(other, 7);
    UnregisterHotkeys(mine);
    EXPECT_TRUE(RegisterHotKey(other, 8, MOD_CONTROL | MOD_SHIFT, 'C'));
    UnregisterHotKey(other, 8);
    // A cleared key (0) registers nothing; the other one is registered.
    Settings.nHotKeyColourVK = 0;
    RegisterHotkeys(mine);
    EXPECT_FALSE(RegisterHotKey(other, 7, MOD_CONTROL | MOD_SHIFT, 'B'));
    EXPECT_TRUE(RegisterHotKey(other, 8, MOD_CONTROL | MOD_SHIFT, 'C'));
    UnregisterHotKey(other, 8);
    UnregisterHotkeys(mine);
    EXPECT_TRUE(RegisterHotKey(other, 7, MOD_CONTROL | MOD_SHIFT, 'B'));
    UnregisterHotKey(other, 7);
    Settings.nHotKeyColourVK = keptVK;
    EXPECT_EQ(static_cast<UINT>(MOD_ALT), ToSystemModifiers(0x0C));
    DestroyWindow(mine);
    DestroyWindow(other);
}

TEST_F(Capture, SelectionOfThirtyByFifteenAtZoomThree)
{
    sizeViewTo(200, 100);
    Magnifier.zoomPoint = POINT{300, 200};
    const RECT v = Magnifier.viewRect();
    // Snapped to whole cells: (9, 6) to (39, 21) in the view.
    Magnifier.selectionStart = POINT{v.left + 10, v.top + 7};
    Magnifier.selectionEnd = POINT{v.left + 40, v.top + 23};
    const POINT first = {300 - Magnifier.halfCols + 3, 200 - Magnifier.halfRows + 2};
    WindowDC screen(nullptr);
    for (bool zoomed : {false, true}) {
        OwnedBitmap bitmap(Magnifier.CaptureImage(zoomed, true));
        ASSERT_TRUE(bitmap);
        BITMAP shape = {};
        GetObjectA(bitmap, sizeof(shape), &shape);
        const int scale = zoomed ? 3 : 1;
        EXPECT_EQ(10 * scale, shape.bmWidth);
        EXPECT_EQ(5 * scale, shape.bmHeight);
        MemoryDC memory(screen);
        SelectedObject selected(memory, bitmap);
        for (int y = 0; y < shape.bmHeight; y += 2)
            for (int x = 0; x < shape.bmWidth; x += 3)
                EXPECT_EQ(GetPixel(screen, first.x + x / scale, first.y + y / scale), GetPixel(memory, x, y));
    }
    // Nothing selected: nothing to capture, and no empty stretch.
    Magnifier.selectionEnd = Magnifier.selectionStart;
    EXPECT_EQ(nullptr, Magnifier.CaptureImage(true, true));
    EXPECT_EQ(nullptr, Magnifier.CaptureImage(false, true));
}

TEST(BmpFile, FieldsOfA24BitAndA32BitFile)
{
    TempFolder folder;
    struct Case {
        int width, height;
        WORD bits;
        DWORD fileSize, imageSize;
    } cases[] = {{101, 51, 24, 15558, 15504}, {1, 1, 32, 58, 4}};
    for (const Case& c : cases) {
        OwnedBitmap bitmap(dibSection(c.width, c.height, c.bits));
        GlobalMemory block(PackBitmap(bitmap, BI_RGB, nullptr));
        ASSERT_TRUE(block);
        const std::string path = folder.path + "shot.bmp";
        ASSERT_TRUE(WriteBmpFile(path.c_str(), block.get()));
        const std::string bytes = fileBytes(path);
        ASSERT_EQ(c.fileSize, bytes.size());
        EXPECT_EQ("BM", bytes.substr(0, 2));
        EXPECT_EQ(c.fileSize, field(bytes, 2));
        EXPECT_EQ(0u, field(bytes, 6));
        EXPECT_EQ(54u, field(bytes, 10));
        EXPECT_EQ(40u, field(bytes, 14));
        EXPECT_EQ(static_cast<DWORD>(c.width), field(bytes, 18));
        EXPECT_EQ(static_cast<DWORD>(c.height), field(bytes, 22));
        EXPECT_EQ(1u, field(bytes, 26, 2));
        EXPECT_EQ(c.bits, field(bytes, 28, 2));
        EXPECT_EQ(0u, field(bytes, 30));
        EXPECT_EQ(c.imageSize, field(bytes, 34));
        EXPECT_EQ(std::vector<std::string>{"shot.bmp"}, folder.names());
    }
}

TEST(BmpFile, RefusedWritesKeepTheEarlierFileAndLeaveNoOther)
{
    TempFolder folder;
    const std::string path = folder.path + "shot.bmp";
    std::ofstream(path, std::ios::binary) << "earlier";
    OwnedBitmap bitmap(dibSection(4, 2, 32));
    GlobalMemory block(PackBitmap(bitmap, BI_RGB, nullptr));
    ASSERT_TRUE(block);
    // A missing folder.
    EXPECT_FALSE(WriteBmpFile((folder.path + "missing\\shot.bmp").c_str(), block.get()));
    // A header that is not 40 bytes, and one claiming more rows than the block holds.
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(block.get()));
    header->biHeight = 4000;
    GlobalUnlock(block.get());
    EXPECT_FALSE(WriteBmpFile(path.c_str(), block.get()));
    header = static_cast<BITMAPINFOHEADER*>(GlobalLock(block.get()));
    header->biHeight = 2;
    header->biSize = sizeof(BITMAPCOREHEADER);
    GlobalUnlock(block.get());
    EXPECT_FALSE(WriteBmpFile(path.c_str(), block.get()));
    EXPECT_EQ("earlier", fileBytes(path));
    EXPECT_EQ(std::vector<std::string>{"shot.bmp"}, folder.names());
    EXPECT_EQ(nullptr, PackBitmap(bitmap, BI_BITFIELDS, nullptr));
    EXPECT_EQ(nullptr, PackBitmap(nullptr, BI_RGB, nullptr));
}

TEST(PackedDib, ColourCountsAndTableSizes)
{
    BITMAPCOREHEADER core = {sizeof(BITMAPCOREHEADER), 1, 1, 1, 8};
    EXPECT_EQ(256, DibColourCount(&core));
    EXPECT_EQ(768, DibColourTableSize(&core));
    BITMAPINFOHEADER info = {sizeof(BITMAPINFOHEADER), 1, 1, 1, 4, BI_RGB, 0, 0, 0, 0, 0};
    EXPECT_EQ(16, DibColourCount(&info));
    EXPECT_EQ(64, DibColourTableSize(&info));
    info.biClrUsed = 5;
    EXPECT_EQ(20, DibColourTableSize(&info));
    info.biClrUsed = 0;
    info.biBitCount = 16;
    EXPECT_EQ(0, DibColourCount(&info));
}
