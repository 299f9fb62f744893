// Zoom geometry: the cell counts of a view, the clamping of the zoom point,
// the highlight rectangle and zooming into a selection, first as plain
// arithmetic and then through the real main window (layout after a size
// change, an empty view, step moves, the zoom factor, the view region).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "base/globals.h"
#include "resources/resource_ids.h"
#include "tests/unit/view_support.h"
#include "view/geometry.h"
#include "window/magnifier_window.h"

namespace {

const ScreenArea Screen1024 = {0, 0, 1024, 768};

POINT clampOn(const CellLayout& c, const ScreenArea& s, POINT p)
{
    return POINT{clampCoordinate(p.x, s.left + c.halfCols, c.maxPointX),
                 clampCoordinate(p.y, s.top + c.halfRows, c.maxPointY)};
}

// First and last screen column and row shown around a clamped point.
struct Shown {
    int firstCol, lastCol, firstRow, lastRow;
};
Shown shownAround(const CellLayout& c, POINT clamped)
{
    const RECT h = highlightAround(clamped, c.halfCols, c.halfRows, c.viewCols, c.viewRows);
    return Shown{h.left + 1, h.right - 1, h.top + 1, h.bottom - 1};
}

}  // namespace

TEST(ZoomGeometry, View200x100AtZoom3OnA1024x768Screen)
{
    const CellLayout c = layoutCells(200, 100, 3, Screen1024);
    EXPECT_EQ(67, c.viewCols);
    EXPECT_EQ(34, c.viewRows);
    EXPECT_EQ(33, c.halfCols);
    EXPECT_EQ(17, c.halfRows);
    EXPECT_EQ(990, c.maxPointX);
    EXPECT_EQ(750, c.maxPointY);

    // Near the top-left corner the picture starts at the screen's origin.
    const POINT topLeft = clampOn(c, Screen1024, POINT{5, 5});
    EXPECT_EQ(33, topLeft.x);
    EXPECT_EQ(17, topLeft.y);
    const Shown a = shownAround(c, topLeft);
    EXPECT_EQ(0, a.firstCol);
    EXPECT_EQ(0, a.firstRow);

    // At the bottom-right corner: the odd column count reaches the last
    // column, the even row count never the last row.
    const POINT bottomRight = clampOn(c, Screen1024, POINT{1023, 767});
    EXPECT_EQ(990, bottomRight.x);
    EXPECT_EQ(750, bottomRight.y);
    const Shown b = shownAround(c, bottomRight);
    EXPECT_EQ(957, b.firstCol);
    EXPECT_EQ(1023, b.lastCol);
    EXPECT_EQ(733, b.firstRow);
    EXPECT_EQ(766, b.lastRow);
}

TEST(ZoomGeometry, HighlightFramesTheMagnifiedRectangleOnePixelOutside)
{
    const RECT h = highlightAround(POINT{500, 400}, 13, 8, 26, 16);
    EXPECT_EQ(486, h.left);    // first column 487
    EXPECT_EQ(391, h.top);     // first row 392
    EXPECT_EQ(513, h.right);   // last column 512
    EXPECT_EQ(408, h.bottom);  // last row 407
}

TEST(ZoomGeometry, VirtualScreenReachingLeftOfThePrimary)
{
    const ScreenArea twoMonitors = {-1280, 0, 2304, 1024};
    const CellLayout c = layoutCells(200, 100, 3, twoMonitors);
    EXPECT_EQ(-1280 + 2304 - 33 - 1, c.maxPointX);
    EXPECT_EQ(1024 - 17 - 1, c.maxPointY);

    const Shown left = shownAround(c, clampOn(c, twoMonitors, POINT{-5000, 500}));
    EXPECT_EQ(-1280, left.firstCol);
    const Shown right = shownAround(c, clampOn(c, twoMonitors, POINT{5000, 500}));
    EXPECT_EQ(1023, right.lastCol);  // never right of x = 1023
    const Shown inside = shownAround(c, clampOn(c, twoMonitors, POINT{-600, 500}));
    EXPECT_EQ(-600 - 33, inside.firstCol);
}

TEST(ZoomGeometry, ViewWiderThanTheScreenTestsTheLowerBoundFirst)
{
    const ScreenArea small = {0, 0, 100, 80};
    const CellLayout c = layoutCells(400, 300, 1, small);
    ASSERT_EQ(200, c.halfCols);
    ASSERT_EQ(-101, c.maxPointX);
    // Below the lower bound: the lower bound; anything else: the upper one.
    EXPECT_EQ(200, clampCoordinate(-7, 200, c.maxPointX));
    EXPECT_EQ(200, clampCoordinate(199, 200, c.maxPointX));
    EXPECT_EQ(-101, clampCoordinate(200, 200, c.maxPointX));
    EXPECT_EQ(-101, clampCoordinate(5000, 200, c.maxPointX));
    // An ordinary range keeps points inside it.
    EXPECT_EQ(7, clampCoordinate(7, 3, 9));
    EXPECT_EQ(3, clampCoordinate(3, 3, 9));
    EXPECT_EQ(9, clampCoordinate(9, 3, 9));
}

TEST(ZoomGeometry, ZeroSizedViewHasOneCellAndPartialCellsCount)
{
    const CellLayout zero = layoutCells(0, 0, 3, Screen1024);
    EXPECT_EQ(1, zero.viewCols);
    EXPECT_EQ(1, zero.viewRows);
    EXPECT_EQ(0, zero.halfCols);
    EXPECT_EQ(1023, zero.maxPointX);
    EXPECT_EQ(767, zero.maxPointY);

    // A width that is a multiple of the zoom still gets one more column,
    // which is then not visible at all.
    EXPECT_EQ(4, layoutCells(9, 10, 3, Screen1024).viewCols);
    EXPECT_EQ(4, layoutCells(9, 10, 3, Screen1024).viewRows);
    EXPECT_EQ(26, layoutCells(100, 60, 4, Screen1024).viewCols);
    EXPECT_EQ(16, layoutCells(100, 60, 4, Screen1024).viewRows);
    EXPECT_EQ(4, layoutCells(100, 60, 32, Screen1024).viewCols);
}

TEST(ZoomGeometry, ZoomIntoSelectionOfNineCellsAtCellTen)
{
    // Zoom 3, first magnified column 200 and row 100; the view starts below
    // a 30-pixel tool band.
    const RECT view = {0, 30, 300, 180};
    const RECT highlight = {199, 99, 199 + 101, 99 + 51};
    const RECT selection = {30, 30 + 6, 30 + 27, 30 + 6 + 15};  // cells 10..18 by 2..6
    const SelectionZoom z = zoomIntoSelection(selection, view, highlight, 3);
    EXPECT_EQ(209, z.highlight.left);
    EXPECT_EQ(218, z.highlight.right);
    EXPECT_EQ(213, z.zoomPoint.x);
    EXPECT_EQ(101, z.highlight.top);
    EXPECT_EQ(106, z.highlight.bottom);
    EXPECT_EQ(103, z.zoomPoint.y);
    // 300 / 27 = 11 across, 150 / 15 = 10 down: the smaller wins.
    EXPECT_EQ(30, z.factor);
}

TEST(ZoomGeometry, SelectionAsWideAsTheViewKeepsTheFactor)
{
    const RECT view = {0, 30, 300, 180};
    const RECT highlight = {199, 99, 300, 150};
    const RECT selection = {0, 60, 300, 90};
    const SelectionZoom z = zoomIntoSelection(selection, view, highlight, 3);
    EXPECT_EQ(3, z.factor);
    EXPECT_EQ(199, z.highlight.left);
    EXPECT_EQ(299, z.highlight.right);
    EXPECT_EQ(249, z.zoomPoint.x);
    EXPECT_EQ(109, z.highlight.top);
}

// --- through the main window ------------------------------------------------

namespace {

class ViewLayout : public QuietViewTest {};

RECT childRectInClient(HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, Magnifier.handle(), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

TEST_F(ViewLayout, CountsAndBarsFollowTheViewSize)
{
    ASSERT_EQ(3, Settings.ZoomFactor);
    ASSERT_GT(Magnifier.chrome().rebarHeight(), 0);
    ASSERT_GT(Magnifier.chrome().statusHeight(), 0);

    sizeViewTo(200, 100);
    EXPECT_FALSE(Magnifier.view().empty());
    EXPECT_EQ(67, Magnifier.view().cells().viewCols);
    EXPECT_EQ(34, Magnifier.view().cells().viewRows);
    EXPECT_EQ(33, Magnifier.view().cells().halfCols);
    EXPECT_EQ(17, Magnifier.view().cells().halfRows);
    EXPECT_EQ(screenLeft + screenWidth - 34, Magnifier.view().cells().maxPointX);
    EXPECT_EQ(screenTop + screenHeight - 18, Magnifier.view().cells().maxPointY);

    // The status bar sits right under the view, as wide as it. (The tool
    // band places itself around the size it is given: the rebar control
    // reaches past its border.)
    const RECT status = childRectInClient(Magnifier.chrome().statusBar());
    EXPECT_EQ(0, status.left);
    EXPECT_EQ(Magnifier.chrome().rebarHeight() + 100, status.top);
    EXPECT_EQ(200, status.right);
    EXPECT_EQ(Magnifier.chrome().statusHeight(), status.bottom - status.top);

    // The region covers exactly the view.
    RECT box;
    ASSERT_EQ(SIMPLEREGION, GetRgnBox(Magnifier.view().region(), &box));
    const RECT v = Magnifier.view().viewRect();
    EXPECT_TRUE(EqualRect(&box, &v));

    sizeViewTo(302, 151);
    EXPECT_EQ(101, Magnifier.view().cells().viewCols);
    EXPECT_EQ(51, Magnifier.view().cells().viewRows);
    EXPECT_EQ(50, Magnifier.view().cells().halfCols);
    EXPECT_EQ(25, Magnifier.view().cells().halfRows);
}

TEST_F(ViewLayout, HiddenBarsGiveTheirRoomToTheView)
{
    sizeViewTo(200, 100);
    const int rebarHeight = Magnifier.chrome().rebarHeight();
    const int statusHeight = Magnifier.chrome().statusHeight();
    Settings.DisplayToolbar = false;
    Magnifier.applyToolbarVisibility();
    EXPECT_FALSE(IsWindowVisible(Magnifier.chrome().rebar()));
    RECT v = Magnifier.view().viewRect();
    EXPECT_EQ(0, v.top);
    EXPECT_EQ((100 + rebarHeight) / 3 + 1, Magnifier.view().cells().viewRows);

    Settings.DisplayStatusbar = false;
    Magnifier.applyStatusbarVisibility();
    v = Magnifier.view().viewRect();
    EXPECT_EQ(100 + rebarHeight + statusHeight, v.bottom);
    EXPECT_EQ((100 + rebarHeight + statusHeight) / 3 + 1, Magnifier.view().cells().viewRows);
    // The heights are measured once, not when the bars come and go.
    EXPECT_EQ(rebarHeight, Magnifier.chrome().rebarHeight());
    EXPECT_EQ(statusHeight, Magnifier.chrome().statusHeight());
}

TEST_F(ViewLayout, ClientShorterThanBothBarsLeavesTheLayoutAsItWas)
{
    sizeViewTo(200, 100);
    const int cols = Magnifier.view().cells().viewCols;
    const int rows = Magnifier.view().cells().viewRows;
    const RECT status = childRectInClient(Magnifier.chrome().statusBar());
    const RECT band = childRectInClient(Magnifier.chrome().rebar());

    // A client one pixel shorter than the two bars together.
    RECT outer, client;
    GetWindowRect(window(), &outer);
    GetClientRect(window(), &client);
    const int frameHeight = (outer.bottom - outer.top) - client.bottom;
    const int wanted = Magnifier.chrome().rebarHeight() + Magnifier.chrome().statusHeight() - 1;
    SetWindowPos(window(), nullptr, 0, 0, outer.right - outer.left + 40, wanted + frameHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetClientRect(window(), &client);
    ASSERT_EQ(wanted, client.bottom) << "the platform keeps windows taller than this";

    EXPECT_TRUE(Magnifier.view().empty());
    EXPECT_EQ(cols, Magnifier.view().cells().viewCols);
    EXPECT_EQ(rows, Magnifier.view().cells().viewRows);
    const RECT statusNow = childRectInClient(Magnifier.chrome().statusBar());
    const RECT bandNow = childRectInClient(Magnifier.chrome().rebar());
    EXPECT_TRUE(EqualRect(&status, &statusNow));
    EXPECT_TRUE(EqualRect(&band, &bandNow));

    // Nothing is drawn while the view is empty.
    markClient();
    Magnifier.view().repaintView();
    for (int y = 0; y < client.bottom; ++y) {
        for (LONG x : {0L, 1L, client.right / 2, client.right - 1})
            ASSERT_EQ(MarkColour, clientPixel(x, y)) << "drawn at " << x << "," << y;
    }

    // Exactly as tall as the bars: not empty, one row.
    SetWindowPos(window(), nullptr, 0, 0, outer.right - outer.left, wanted + 1 + frameHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_FALSE(Magnifier.view().empty());
    EXPECT_EQ(1, Magnifier.view().cells().viewRows);
}

TEST_F(ViewLayout, RegionIsReplacedAndTheOldOneDeleted)
{
    sizeViewTo(200, 100);
    HRGN before = Magnifier.view().region();
    ASSERT_EQ(static_cast<DWORD>(OBJ_REGION), GetObjectType(before));
    Magnifier.view().layoutView();
    HRGN after = Magnifier.view().region();
    EXPECT_NE(before, after);
    EXPECT_EQ(0u, GetObjectType(before));
    EXPECT_EQ(static_cast<DWORD>(OBJ_REGION), GetObjectType(after));
}

namespace {

class BusyView : public QuietViewTest {
    void moreSettings() override
    {
        const BYTE on = 1;
        writeSetting("ShowGrid", REG_BINARY, &on, 1);
        writeSetting("DisplayMouseWhenFollowing", REG_BINARY, &on, 1);
    }
};

}  // namespace

TEST_F(BusyView, LayoutsAndPaintsDoNotAccumulateGdiObjects)
{
    sizeViewTo(240, 120);
    // Every path of a paint: grid, own cursor, system cursor, palette, both
    // entry points; plus layouts and zoom changes.
    Settings.MouseTracking = true;
    for (int i = 0; i < 5; ++i) {
        Magnifier.view().layoutView();
        Magnifier.view().repaintView();
        UpdateWindow(window());
    }
    const DWORD before = liveGdiObjects();
    ASSERT_GT(before, 0u) << "no way to count GDI objects";
    for (int i = 0; i < 300; ++i) {
        Settings.bUseOSCursor = (i % 2) != 0;
        Settings.GridSize = 1 + i % 4;
        Magnifier.view().setZoomFactor(2 + i % 7);
        Magnifier.view().layoutView();
        Magnifier.view().repaintView();
        InvalidateRgn(window(), Magnifier.view().region(), FALSE);
        UpdateWindow(window());
    }
    EXPECT_EQ(before, liveGdiObjects());
}

namespace {

class MovingThePoint : public QuietViewTest {
protected:
    void SetUp() override
    {
        QuietViewTest::SetUp();
        sizeViewTo(200, 100);
        Magnifier.view().setZoomPoint(POINT{500, 400});
    }
    int lowX() const { return screenLeft + Magnifier.view().cells().halfCols; }
    int lowY() const { return screenTop + Magnifier.view().cells().halfRows; }
};

}  // namespace

TEST_F(MovingThePoint, StepsMoveAndAreClampedToTheScreen)
{
    Magnifier.view().moveZoomPoint(7, -3);
    EXPECT_EQ(507, Magnifier.view().zoomPoint().x);
    EXPECT_EQ(397, Magnifier.view().zoomPoint().y);
    Magnifier.view().moveZoomPoint(-10000, 0);
    EXPECT_EQ(lowX(), Magnifier.view().zoomPoint().x);
    EXPECT_EQ(397, Magnifier.view().zoomPoint().y);
    Magnifier.view().moveZoomPoint(0, 100000);
    EXPECT_EQ(Magnifier.view().cells().maxPointY, Magnifier.view().zoomPoint().y);
    Magnifier.view().moveZoomPoint(100000, -100000);
    EXPECT_EQ(Magnifier.view().cells().maxPointX, Magnifier.view().zoomPoint().x);
    EXPECT_EQ(lowY(), Magnifier.view().zoomPoint().y);
    // Steps near the int limits do not wrap around.
    Magnifier.view().moveZoomPoint(INT_MAX, INT_MIN);
    EXPECT_EQ(Magnifier.view().cells().maxPointX, Magnifier.view().zoomPoint().x);
    EXPECT_EQ(lowY(), Magnifier.view().zoomPoint().y);
    Magnifier.view().moveZoomPoint(INT_MIN, INT_MAX);
    EXPECT_EQ(lowX(), Magnifier.view().zoomPoint().x);
    EXPECT_EQ(Magnifier.view().cells().maxPointY, Magnifier.view().zoomPoint().y);
}

TEST_F(MovingThePoint, ZeroOrBlockedStepsDoNotRepaint)
{
    markClient();
    Magnifier.view().moveZoomPoint(0, 0);
    EXPECT_TRUE(viewStillMarked());
    EXPECT_EQ(500, Magnifier.view().zoomPoint().x);

    Magnifier.view().setZoomPoint(POINT{lowX(), lowY()});
    markClient();
    Magnifier.view().moveZoomPoint(-1, -1);
    EXPECT_TRUE(viewStillMarked());
    EXPECT_EQ(lowX(), Magnifier.view().zoomPoint().x);
    EXPECT_EQ(lowY(), Magnifier.view().zoomPoint().y);

    Magnifier.view().moveZoomPoint(1, 0);
    EXPECT_FALSE(viewStillMarked());
    EXPECT_EQ(lowX() + 1, Magnifier.view().zoomPoint().x);
}

TEST_F(MovingThePoint, AnAxisWithoutStepStaysEvenOutsideItsClamps)
{
    Magnifier.view().setZoomPoint(POINT{500, -5000});
    Magnifier.view().moveZoomPoint(-10000, 0);
    EXPECT_EQ(lowX(), Magnifier.view().zoomPoint().x);
    EXPECT_EQ(-5000, Magnifier.view().zoomPoint().y);
    Magnifier.view().setZoomPoint(POINT{99999, 300});
    Magnifier.view().moveZoomPoint(0, 1);
    EXPECT_EQ(99999, Magnifier.view().zoomPoint().x);
    EXPECT_EQ(301, Magnifier.view().zoomPoint().y);
}

TEST_F(MovingThePoint, PaintingClampsButKeepsThePointItself)
{
    Magnifier.view().setZoomPoint(POINT{-300, 99999});
    const POINT c = Magnifier.view().clampZoomPoint();
    EXPECT_EQ(lowX(), c.x);
    EXPECT_EQ(Magnifier.view().cells().maxPointY, c.y);
    Magnifier.view().repaintView();
    EXPECT_EQ(-300, Magnifier.view().zoomPoint().x);
    EXPECT_EQ(99999, Magnifier.view().zoomPoint().y);
    Magnifier.view().computeHighlightRect();
    EXPECT_EQ(screenLeft - 1, Magnifier.view().highlightRect().left);
    // With an even row count the bottom screen row is never shown.
    ASSERT_EQ(34, Magnifier.view().cells().viewRows);
    EXPECT_EQ(screenTop + screenHeight - 1, Magnifier.view().highlightRect().bottom);
}

namespace {

class ZoomFactorSetting : public QuietViewTest {
protected:
    void SetUp() override
    {
        QuietViewTest::SetUp();
        sizeViewTo(200, 100);
    }
    LRESULT trackbarPosition() const { return Magnifier.chrome().zoomTrackbar().pos(); }
};

}  // namespace

TEST_F(ZoomFactorSetting, IsHeldBetween1And32AndTheLayoutFollows)
{
    Magnifier.view().setZoomFactor(0);
    EXPECT_EQ(1, Settings.ZoomFactor);
    EXPECT_EQ(1, trackbarPosition());
    EXPECT_EQ(201, Magnifier.view().cells().viewCols);
    Magnifier.view().setZoomFactor(40);
    EXPECT_EQ(32, Settings.ZoomFactor);
    EXPECT_EQ(32, trackbarPosition());
    EXPECT_EQ(200 / 32 + 1, Magnifier.view().cells().viewCols);
    EXPECT_EQ(100 / 32 + 1, Magnifier.view().cells().viewRows);
    Magnifier.view().setZoomFactor(-5);
    EXPECT_EQ(1, Settings.ZoomFactor);
    Magnifier.view().setZoomFactor(INT_MAX);
    EXPECT_EQ(32, Settings.ZoomFactor);
    Magnifier.view().setZoomFactor(INT_MIN);
    EXPECT_EQ(1, Settings.ZoomFactor);
}

TEST_F(ZoomFactorSetting, TheCurrentValueChangesNothing)
{
    markClient();
    Magnifier.view().setZoomFactor(3);
    EXPECT_TRUE(viewStillMarked());
    Magnifier.view().setZoomFactor(32);
    EXPECT_FALSE(viewStillMarked());
    markClient();
    Magnifier.view().setZoomFactor(33);  // clamped to the current 32
    EXPECT_TRUE(viewStillMarked());
    EXPECT_EQ(32, Settings.ZoomFactor);
}

namespace {

class ZoomToSelection : public QuietViewTest {
protected:
    void SetUp() override
    {
        QuietViewTest::SetUp();
        sizeViewTo(400, 200);
        Magnifier.view().setZoomPoint(POINT{640, 512});
    }
    // A selection dragged between two cell positions of the view.
    void select(int fromCol, int fromRow, int toCol, int toRow)
    {
        const RECT v = Magnifier.view().viewRect();
        const int z = Settings.ZoomFactor;
        // The drag ends inside the last cell; the selection snaps to cells.
        Magnifier.mouse().keepSelection(POINT{v.left + z * toCol + z / 2, v.top + z * toRow + z / 2},
                                        POINT{v.left + z * fromCol, v.top + z * fromRow});
    }
};

class ZoomToSelectionAt20 : public ZoomToSelection {
    void moreSettings() override { writeDword("ZoomFactor", 20); }
};

}  // namespace

TEST_F(ZoomToSelectionAt20, SelectionThatFitsTwiceAsksFor40AndGets32)
{
    ASSERT_EQ(21, Magnifier.view().cells().viewCols);
    ASSERT_EQ(11, Magnifier.view().cells().viewRows);
    select(2, 1, 12, 6);  // 10 x 5 cells of the 20 x 10 that are visible
    Magnifier.OnCommand(IDM_ZOOM_TO_SELECTION);
    EXPECT_EQ(32, Settings.ZoomFactor);
    // First magnified column 640 - 10 = 630, row 512 - 5 = 507.
    EXPECT_EQ(631, Magnifier.view().highlightRect().left);
    EXPECT_EQ(641, Magnifier.view().highlightRect().right);
    EXPECT_EQ(507, Magnifier.view().highlightRect().top);
    EXPECT_EQ(512, Magnifier.view().highlightRect().bottom);
    EXPECT_EQ(636, Magnifier.view().zoomPoint().x);
    EXPECT_EQ(509, Magnifier.view().zoomPoint().y);
}

TEST_F(ZoomToSelection, SelectionAsWideAsTheViewOnlyMovesThePoint)
{
    ASSERT_EQ(3, Settings.ZoomFactor);
    // 133 whole cells fill 399 of the 400 pixels: 400 / 399 = 1.
    select(0, 10, 133, 20);
    Magnifier.OnCommand(IDM_ZOOM_TO_SELECTION);
    EXPECT_EQ(3, Settings.ZoomFactor);
    EXPECT_EQ(640 - 67 - 1, Magnifier.view().highlightRect().left);
    EXPECT_EQ(640 - 67 - 1 + 133, Magnifier.view().highlightRect().right);
    EXPECT_EQ(640 - 67 - 1 + 66, Magnifier.view().zoomPoint().x);
}

TEST_F(ZoomToSelection, EmptySelectionChangesNothing)
{
    const RECT v = Magnifier.view().viewRect();
    Magnifier.mouse().keepSelection(POINT{v.left + 31, v.top + 31},
                                    POINT{v.left + 30, v.top + 60});  // snaps to zero width
    markClient();
    Magnifier.OnCommand(IDM_ZOOM_TO_SELECTION);
    EXPECT_EQ(3, Settings.ZoomFactor);
    EXPECT_EQ(640, Magnifier.view().zoomPoint().x);
    EXPECT_EQ(512, Magnifier.view().zoomPoint().y);
    EXPECT_TRUE(viewStillMarked());
}

TEST_F(ViewLayout, ViewWiderThanTheScreenReadsPastItsEdgeWithoutHarm)
{
    // At zoom 1 a view as wide as the screen has one column more than the
    // screen: the copy reaches one pixel past an edge, which must not upset
    // the platform's screen copy.
    Magnifier.view().setZoomFactor(1);
    SetWindowPos(window(), nullptr, screenLeft, screenTop, screenWidth + 100, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT v = Magnifier.view().viewRect();
    ASSERT_GE(v.right - v.left, screenWidth) << "the platform keeps windows narrower than the screen";
    ASSERT_GT(Magnifier.view().cells().viewCols, screenWidth);
    EXPECT_GT(screenLeft + Magnifier.view().cells().halfCols, Magnifier.view().cells().maxPointX);
    for (LONG x : {static_cast<LONG>(screenLeft - 5000), static_cast<LONG>(screenLeft + screenWidth / 2),
                   static_cast<LONG>(screenLeft + screenWidth + 5000)}) {
        Magnifier.view().setZoomPoint(POINT{x, screenTop + 300});
        // Points below the lower bound take it; all others the upper one.
        const LONG first = x < screenLeft + Magnifier.view().cells().halfCols
                               ? screenLeft
                               : Magnifier.view().cells().maxPointX - Magnifier.view().cells().halfCols;
        Magnifier.view().computeHighlightRect();
        EXPECT_EQ(first - 1, Magnifier.view().highlightRect().left);
        Magnifier.view().repaintView();
        InvalidateRgn(window(), Magnifier.view().region(), FALSE);
        UpdateWindow(window());
    }
    EXPECT_TRUE(IsWindow(window()));
}

TEST_F(MovingThePoint, PanningStepsMoveThePointAndBadOnesAreIgnored)
{
    // The panning component sends the registered update message with lParam
    // pointing at (dx, dy). The id is known system-wide, so any program can
    // send or post it with anything as lParam: that must not harm the window.
    ASSERT_NE(0u, originUpdateMessage);
    int step[2] = {5, -4};
    EXPECT_EQ(1, SendMessageA(window(), originUpdateMessage, 0, reinterpret_cast<LPARAM>(step)));
    EXPECT_EQ(505, Magnifier.view().zoomPoint().x);
    EXPECT_EQ(396, Magnifier.view().zoomPoint().y);

    // Addresses that are never readable: the first 64 KB and the top.
    for (LPARAM bad :
         {static_cast<LPARAM>(0), static_cast<LPARAM>(0x10), static_cast<LPARAM>(0x7ff0), static_cast<LPARAM>(-8)}) {
        EXPECT_EQ(1, SendMessageA(window(), originUpdateMessage, 0, bad));
        PostMessageA(window(), originUpdateMessage, 0, bad);
    }
    pumpMessages(50);
    EXPECT_TRUE(IsWindow(window()));
    EXPECT_EQ(505, Magnifier.view().zoomPoint().x);
    EXPECT_EQ(396, Magnifier.view().zoomPoint().y);
}
