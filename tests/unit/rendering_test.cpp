// The paint of the view in-process: the palette it uses, what it leaves in
// the device context it is given, and the cases in which it must not draw.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/globals.h"
#include "tests/unit/view_support.h"
#include "view/rendering.h"
#include "view/zoom_view.h"
#include "window/magnifier_window.h"

TEST(ViewPalette, Has256EntriesNamingHardwareIndices)
{
    HPALETTE palette = createViewPalette();
    ASSERT_NE(nullptr, palette);
    EXPECT_EQ(256, GetPaletteEntries(palette, 0, 0, nullptr));
    PALETTEENTRY entries[256] = {};
    ASSERT_EQ(256u, GetPaletteEntries(palette, 0, 256, entries));
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(i, entries[i].peRed) << i;
        EXPECT_EQ(0, entries[i].peGreen) << i;
        EXPECT_EQ(0, entries[i].peBlue) << i;
        EXPECT_EQ(PC_EXPLICIT, entries[i].peFlags) << i;
    }
    DeleteObject(palette);
}

namespace {

RECT clientRect()
{
    RECT client = {0, 0, 0, 0};
    GetClientRect(Magnifier.handle(), &client);
    return client;
}

// A memory context as large as the client area, filled with the mark colour.
class Canvas : public MemoryCanvas {
public:
    Canvas() : MemoryCanvas(clientRect().right, clientRect().bottom, MarkColour) {}
    bool untouched() const
    {
        for (int y = 0; y < height; y += 3) {
            for (int x = 0; x < width; x += 3) {
                if (at(x, y) != MarkColour)
                    return false;
            }
        }
        return true;
    }
};

class Painting : public QuietViewTest {};

// The window around a zoom view of the test's own: a view rectangle it chooses.
class StubHost final : public ViewHost {
public:
    RECT rect = {0, 0, 0, 0};
    RECT viewRect() const override { return rect; }
    void viewLaidOut(const RECT&) override {}
    void zoomChanged(int) override {}
};

}  // namespace

TEST_F(Painting, LeavesTheGivenContextWithItsOwnPalette)
{
    sizeViewTo(200, 100);
    ASSERT_NE(nullptr, Magnifier.view().palette());
    HDC dc = GetDC(window());
    HGDIOBJ before = GetCurrentObject(dc, OBJ_PAL);
    Magnifier.view().paintView(dc);
    EXPECT_EQ(before, GetCurrentObject(dc, OBJ_PAL));
    EXPECT_NE(static_cast<HGDIOBJ>(Magnifier.view().palette()), GetCurrentObject(dc, OBJ_PAL));
    ReleaseDC(window(), dc);
}

TEST_F(Painting, DrawsTheViewBelowTheToolBand)
{
    sizeViewTo(200, 100);
    Canvas canvas;
    Magnifier.view().paintView(canvas.dc);
    const int top = Magnifier.chrome().rebarHeight();
    EXPECT_EQ(MarkColour, GetPixel(canvas.dc, 5, top - 1));
    EXPECT_EQ(MarkColour, GetPixel(canvas.dc, 5, top + 100));
    int drawn = 0;
    for (int y = top; y < top + 100; y += 7) {
        for (int x = 0; x < 200; x += 7)
            drawn += GetPixel(canvas.dc, x, y) != MarkColour;
    }
    EXPECT_GT(drawn, 0);
}

TEST_F(Painting, ViewWithoutCellsDrawsNothing)
{
    // Before the first layout, or after one that found no room, nothing may be
    // drawn: a screen copy with an empty source would end the process under
    // Wine.
    Canvas canvas;
    StubHost host;
    ZoomView view(host);
    view.attach(window(), nullptr);
    view.paintView(canvas.dc);         // not laid out yet
    host.rect = RECT{0, 50, 200, 40};  // the bars overlap: no room
    view.layoutView();
    EXPECT_TRUE(view.empty());
    view.paintView(canvas.dc);
    EXPECT_TRUE(canvas.untouched());
}

TEST_F(Painting, View104x60AtZoom4WithTheOwnArrow)
{
    // (Windows are kept at least this wide; at 100 the counts are the same
    // but for one column.)
    sizeViewTo(104, 60);
    Magnifier.view().setZoomFactor(4);
    ASSERT_EQ(27, Magnifier.view().cells().viewCols);
    ASSERT_EQ(16, Magnifier.view().cells().viewRows);
    ASSERT_EQ(13, Magnifier.view().cells().halfCols);
    ASSERT_EQ(8, Magnifier.view().cells().halfRows);
    Magnifier.view().setZoomPoint(POINT{500, 400});
    Settings.MouseTracking = true;
    Settings.DisplayMouseWhenFollowing = true;
    Settings.bUseOSCursor = false;
    Canvas canvas;
    Magnifier.view().paintView(canvas.dc);
    const int top = Magnifier.chrome().rebarHeight();
    // The arrow's corner at the centre of cell (13, 8): view pixel (54, 34).
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(canvas.dc, 54, top + 34));
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(canvas.dc, 55, top + 35));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(canvas.dc, 55, top + 36));
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(canvas.dc, 56, top + 36));
    // Only 104 x 60 pixels reach the window: cell row 15 is cut.
    EXPECT_NE(MarkColour, GetPixel(canvas.dc, 103, top + 59));
    EXPECT_EQ(MarkColour, GetPixel(canvas.dc, 5, top + 60));
}
