// Keyboard navigation of the zoom point and the commands that change the
// zoom, through the main window's key and command handling.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/globals.h"
#include "resources/resource_ids.h"
#include "tests/unit/view_support.h"
#include "view/geometry.h"
#include "window/magnifier_window.h"

namespace {

class Keys : public QuietViewTest {
protected:
    void moreSettings() override
    {
        writeDword("nSlowScrollRate", 3);
        writeDword("nFastScrollRate", 40);
    }
    void SetUp() override
    {
        QuietViewTest::SetUp();
        sizeViewTo(200, 100);  // 67 x 34 cells at zoom 3
        Magnifier.view().setZoomPoint(POINT{500, 400});
    }
    void TearDown() override
    {
        setControl(false);
        QuietViewTest::TearDown();
    }
    // The key state the handler reads is this thread's.
    static void setControl(bool down)
    {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = down ? 0x80 : 0;
        keys[VK_LCONTROL] = keys[VK_CONTROL];
        SetKeyboardState(keys);
    }
    void press(UINT key, bool control = false)
    {
        setControl(control);
        EXPECT_EQ(0, SendMessageA(window(), WM_KEYDOWN, key, 1));
        setControl(false);
    }
    POINT point() const { return Magnifier.view().zoomPoint(); }
};

}  // namespace

TEST_F(Keys, ArrowsStepBySlowRateAndWithControlByFastRate)
{
    press(VK_LEFT);
    EXPECT_EQ(497, point().x);
    press(VK_UP);
    EXPECT_EQ(397, point().y);
    press(VK_RIGHT);
    press(VK_RIGHT);
    EXPECT_EQ(503, point().x);
    press(VK_DOWN);
    EXPECT_EQ(400, point().y);

    press(VK_LEFT, true);
    EXPECT_EQ(463, point().x);
    press(VK_UP, true);
    EXPECT_EQ(360, point().y);
    press(VK_RIGHT, true);
    EXPECT_EQ(503, point().x);
    press(VK_DOWN, true);
    EXPECT_EQ(400, point().y);
}

TEST_F(Keys, PageKeysMoveAViewLessOne)
{
    press(VK_PRIOR);  // 34 rows: 33 up
    EXPECT_EQ(367, point().y);
    EXPECT_EQ(500, point().x);
    press(VK_NEXT);
    EXPECT_EQ(400, point().y);
    press(VK_PRIOR, true);  // 67 columns: 66 left
    EXPECT_EQ(434, point().x);
    EXPECT_EQ(400, point().y);
    press(VK_NEXT, true);
    EXPECT_EQ(500, point().x);

    // Clamped like every step.
    Magnifier.view().setZoomPoint(POINT{500, 30});
    press(VK_PRIOR);
    EXPECT_EQ(screenTop + Magnifier.view().cells().halfRows, point().y);
}

TEST_F(Keys, PageKeysDoNothingInAViewOneRowHigh)
{
    sizeViewTo(200, 2);
    ASSERT_EQ(1, Magnifier.view().cells().viewRows);
    markClient();
    press(VK_PRIOR);
    press(VK_NEXT);
    EXPECT_EQ(400, point().y);
    EXPECT_EQ(500, point().x);
    EXPECT_TRUE(viewStillMarked());
    // The arrows still move it.
    press(VK_DOWN);
    EXPECT_EQ(403, point().y);
}

TEST_F(Keys, OtherKeysDoNothing)
{
    markClient();
    for (UINT key : {static_cast<UINT>(VK_HOME), static_cast<UINT>(VK_END), static_cast<UINT>('A'),
                     static_cast<UINT>(VK_SPACE), static_cast<UINT>(VK_ADD)}) {
        press(key);
        press(key, true);
    }
    EXPECT_EQ(500, point().x);
    EXPECT_EQ(400, point().y);
    EXPECT_EQ(3, Settings.ZoomFactor);
    EXPECT_TRUE(viewStillMarked());
}

TEST_F(Keys, EscapeEndsASelection)
{
    Magnifier.mouse().keepSelection(POINT{0, 0}, POINT{0, 0});
    press(VK_ESCAPE);
    EXPECT_FALSE(Magnifier.mouse().hasSelection());
    EXPECT_FALSE(Magnifier.mouse().selecting());
}

namespace {

class Commands : public QuietViewTest {};

}  // namespace

TEST_F(Commands, ZoomCommandsSetTheFactorAndStopAtTheEnds)
{
    EXPECT_FALSE(Magnifier.OnCommand(IDM_ZOOM_2X));
    EXPECT_EQ(2, Settings.ZoomFactor);
    EXPECT_FALSE(Magnifier.OnCommand(IDM_ZOOM_4X));
    EXPECT_EQ(4, Settings.ZoomFactor);

    EXPECT_FALSE(Magnifier.OnCommand(IDM_ZOOM_IN));
    EXPECT_EQ(5, Settings.ZoomFactor);
    for (int i = 0; i < 40; ++i)
        Magnifier.OnCommand(IDM_ZOOM_IN);
    EXPECT_EQ(32, Settings.ZoomFactor);
    EXPECT_FALSE(Magnifier.OnCommand(IDM_ZOOM_OUT));
    EXPECT_EQ(31, Settings.ZoomFactor);
    for (int i = 0; i < 40; ++i)
        Magnifier.OnCommand(IDM_ZOOM_OUT);
    EXPECT_EQ(1, Settings.ZoomFactor);
}

TEST_F(Commands, UnknownIdsReturnFalseAndChangeNothing)
{
    markClient();
    for (UINT id : {0u, 1u, 999u, 4010u, 4019u, 4025u, 0xFFFFu}) {
        EXPECT_FALSE(Magnifier.OnCommand(id)) << id;
    }
    EXPECT_EQ(3, Settings.ZoomFactor);
    EXPECT_TRUE(IsWindow(window()));
    EXPECT_TRUE(viewStillMarked());
}

TEST_F(Commands, CloseReturnsTrueAfterDestroyingTheWindow)
{
    EXPECT_TRUE(Magnifier.OnCommand(IDM_CLOSE));
    EXPECT_FALSE(IsWindow(window()));
}
