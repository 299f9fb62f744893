// The colour inspector in-process, where the end-to-end run reaches poorly:
// its damaged settings brought into range and written back, a colour that
// changes tick after tick shown once a second but exactly on the first still
// tick (and when the pointer comes over the inspector), pins that move a
// colour met again to the front of the history, and a colour pinned before
// the window is made shown in full when it opens.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/globals.h"
#include "inspector/inspector.h"
#include "resources/resource_ids.h"
#include "tests/unit/test_support.h"
#include "window/magnifier_window.h"

namespace {

std::string textOf(int id)
{
    char text[128] = "";
    GetWindowTextA(GetDlgItem(Magnifier.inspector().handle(), id), text, sizeof(text));
    return text;
}

void feed(COLORREF colour)
{
    const COLORREF pixels[9] = {colour, colour, colour, colour, colour, colour, colour, colour, colour};
    Magnifier.inspector().showSample(pixels, 9);
}

class InspectorTest : public MainWindowTest {};

}  // namespace

TEST(InspectorSettingsTest, DamagedValuesAreBroughtIntoRangeAndWrittenBack)
{
    deleteSettingsKey();
    const DWORD history[16] = {0xFFFFFFFF, 0x00112233, 0x00445566, 0x00112233, 0x01000000, 0x00778899,
                               0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF,
                               0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
    writeSetting("InspectorHistory", REG_BINARY, history, sizeof(history));
    writeDword("InspectorSampleSize", 4);
    writeDword("InspectorNotation", 9);
    writeDword("InspectorPinned", 0xFF123456);
    const BYTE shown = 7;
    writeSetting("InspectorShown", REG_BINARY, &shown, 1);
    const LONG farAway[2] = {40000, 10};
    writeSetting("InspectorPos", REG_BINARY, farAway, sizeof(farAway));

    InspectorSettings settings;
    settings.Load();
    EXPECT_EQ(5, settings.SampleSize);
    EXPECT_EQ(0, settings.LastNotation);
    EXPECT_EQ(0x00123456u, settings.Pinned);
    EXPECT_TRUE(settings.Shown);
    EXPECT_FALSE(settings.WasLoaded(InspectorSettings::RowPosition));
    const std::vector<COLORREF> kept(settings.History, settings.History + 4);
    EXPECT_EQ((std::vector<COLORREF>{0x00112233, 0x00445566, 0x00778899, NoColour}), kept);

    ASSERT_TRUE(settings.Save());
    EXPECT_EQ(std::vector<BYTE>({1}), readSetting("InspectorShown").data);
    EXPECT_EQ(std::vector<BYTE>({5, 0, 0, 0}), readSetting("InspectorSampleSize").data);

    // A history of another size is ignored; a side out of range is clamped.
    writeSetting("InspectorHistory", REG_BINARY, history, 60);
    writeDword("InspectorSampleSize", 0x80000000);
    settings.Load();
    EXPECT_EQ(NoColour, settings.History[0]);
    EXPECT_EQ(1, settings.SampleSize);
    deleteSettingsKey();
}

TEST_F(InspectorTest, AColourChangingEveryTickIsShownOnceASecondAndExactlyWhenItStays)
{
    Magnifier.showInspector(true);
    Inspector& inspector = Magnifier.inspector();
    ASSERT_TRUE(inspector.shown());
    feed(RGB(10, 20, 30));
    const std::string first = formatColour(RGB(10, 20, 30), Notation::Hsl);
    EXPECT_EQ(first, textOf(IDC_INSPECTOR_HSL));
    feed(RGB(40, 50, 60));  // the next tick, a new colour: not shown yet
    EXPECT_EQ(first, textOf(IDC_INSPECTOR_HSL));
    EXPECT_EQ(RGB(40, 50, 60), inspector.currentColour());
    feed(RGB(40, 50, 60));  // the colour stays: shown
    EXPECT_EQ(formatColour(RGB(40, 50, 60), Notation::Hsl), textOf(IDC_INSPECTOR_HSL));

    // Moving on, then over the inspector: the last colour read is shown.
    feed(RGB(70, 80, 90));
    RECT r;
    GetWindowRect(inspector.handle(), &r);
    EXPECT_EQ(0, inspector.sampleSideAt(POINT{r.left + 5, r.top + 5}));
    EXPECT_EQ(formatColour(RGB(70, 80, 90), Notation::Fractions), textOf(IDC_INSPECTOR_FRACTIONS));
    EXPECT_EQ(1, inspector.sampleSideAt(POINT{r.left - 5, r.top + 5}));
}

TEST_F(InspectorTest, PinsGoToTheFrontOfTheHistoryAndAColourMetAgainMovesThere)
{
    Magnifier.showInspector(true);
    for (COLORREF colour : {RGB(1, 2, 3), RGB(4, 5, 6), RGB(1, 2, 3)}) {
        feed(colour);
        feed(colour);
        SendMessageA(window(), WM_COMMAND, IDM_PIN_COLOUR, 0);
    }
    EXPECT_EQ("#010203", textOf(IDC_INSPECTOR_PINNED));
    EXPECT_EQ("#010203", textOf(IDC_INSPECTOR_HISTORY));
    EXPECT_EQ("#040506", textOf(IDC_INSPECTOR_HISTORY + 1));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(Magnifier.inspector().handle(), IDC_INSPECTOR_HISTORY + 2)));
    // Alt+F4 and Esc pressed in the inspector close it alone.
    SendMessageA(Magnifier.inspector().handle(), WM_COMMAND, IDM_CLOSE, 0);
    EXPECT_FALSE(Magnifier.inspector().shown());
    EXPECT_TRUE(IsWindow(window()));
}

TEST_F(InspectorTest, AColourPinnedBeforeTheWindowIsMadeIsShownWhenItOpens)
{
    // Ctrl+P with the inspector closed reads the colour and pins it before
    // the inspector's window exists.
    Inspector& inspector = Magnifier.inspector();
    ASSERT_EQ(nullptr, inspector.handle());
    const COLORREF colour = RGB(200, 30, 90);
    feed(colour);
    inspector.pinColour();
    Magnifier.showInspector(true);
    EXPECT_EQ(formatColour(colour, Notation::Hsl), textOf(IDC_INSPECTOR_HSL));
    EXPECT_EQ(formatColour(colour, Notation::Hex), textOf(IDC_INSPECTOR_PINNED));
    EXPECT_EQ(formatContrast(1.0), textOf(IDC_INSPECTOR_CONTRAST));
    EXPECT_NE("", textOf(IDC_INSPECTOR_AA));
}
