// Image output in-process, where the screen or the program's input cannot
// reach: a cleared hotkey, a selection capture, 24-bit files, refused writes.
#include <windows.h>

#include <string>

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
    Magnifier.zoomPoint = POINT{300, 200};
    const RECT v = Magnifier.viewRect();
    Magnifier.selectionStart = POINT{v.left + 10, v.top + 7};  // snapped: (9, 6) to (39, 21)
    Magnifier.selectionEnd = POINT{v.left + 40, v.top + 23};
    const POINT first = {300 - Magnifier.halfCols + 3, 200 - Magnifier.halfRows + 2};
    WindowDC screen(nullptr);
    for (int scale : {1, 3}) {
        OwnedBitmap bitmap(Magnifier.CaptureImage(scale == 3, true));
        BITMAP shape = {};
        ASSERT_TRUE(GetObjectA(bitmap, sizeof(shape), &shape));
        EXPECT_EQ(10 * scale, shape.bmWidth);
        EXPECT_EQ(5 * scale, shape.bmHeight);
        MemoryDC memory(screen);
        SelectedObject selected(memory, bitmap);
        for (int i = 0; i < 50 * scale * scale; i += 7)
            EXPECT_EQ(GetPixel(screen, first.x + i % (10 * scale) / scale, first.y + i / (10 * scale) / scale),
                      GetPixel(memory, i % (10 * scale), i / (10 * scale)));
    }
    Magnifier.selectionEnd = Magnifier.selectionStart;  // nothing to capture, no empty stretch
    EXPECT_EQ(nullptr, Magnifier.CaptureImage(true, true));
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
