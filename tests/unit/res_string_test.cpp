// String-table texts: lazy loading into an owned heap block, missing ids,
// and the texts whose exact characters other code relies on.
#include <windows.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "base/globals.h"
#include "resources/resource_ids.h"

TEST(ResString, LoadsOnFirstUseAndKeepsTheSameBlock)
{
    ResString format(IDS_ZOOM_LEVEL_FORMAT);
    EXPECT_FALSE(format.IsLoaded());
    // GetLength loads the text too.
    EXPECT_EQ(14, format.GetLength());
    ASSERT_TRUE(format.IsLoaded());
    const char* first = format.GetText();
    EXPECT_STREQ("Zoom Level x%d", first);
    EXPECT_EQ(first, format.GetText());
    EXPECT_EQ(first, format.LoadText());
}

TEST(ResString, TextBlockIsShrunkToTheText)
{
    ResString text(IDS_STATUS_IDLE);
    const char* s = text.GetText();
    ASSERT_NE(nullptr, s);
    EXPECT_EQ(static_cast<SIZE_T>(text.GetLength() + 1), HeapSize(ProcessHeap, 0, s));
}

TEST(ResString, MissingIdGivesNullAndIsTriedAgain)
{
    ResString missing(12345);
    EXPECT_EQ(nullptr, missing.GetText());
    EXPECT_EQ(0, missing.GetLength());
    EXPECT_FALSE(missing.IsLoaded());
    EXPECT_EQ(nullptr, missing.LoadText());
}

TEST(ResString, GlobalsNeverAskedForTouchNothing)
{
    EXPECT_FALSE(OptionsAppTitle.IsLoaded());
    EXPECT_FALSE(MailtoLink.IsLoaded());
    EXPECT_FALSE(PickTipText.IsLoaded());
}

TEST(ResString, KeepsBlanksBarsTabsAndLineFeeds)
{
    EXPECT_STREQ("Bitmap Files (*.bmp)|*.bmp|PNG image (*.png)|*.png||", ResString(IDS_SAVE_FILTER).GetText());
    EXPECT_STREQ("Colour (rgb): 000,000,000 ", ResString(IDS_COLOUR_MEASURE).GetText());
    EXPECT_STREQ("Colour (rgb): %03d,%03d,%03d ", ResString(IDS_COLOUR_RGB_FORMAT).GetText());
    EXPECT_STREQ(" 99999,99999 ", ResString(IDS_COORDS_MEASURE).GetText());
    EXPECT_STREQ(" %d, %d ", ResString(IDS_COORDS_FORMAT).GetText());
    EXPECT_STREQ("&Options...\tCtrl+O", ResString(IDS_SYS_OPTIONS).GetText());
    EXPECT_STREQ("Invalid update specified.\nA valid update should be between 1 and 50.",
                 ResString(IDS_INVALID_UPDATE).GetText());
    EXPECT_STREQ(
        "Toggle always on top state (Ctrl+T)\nChanges the position of Scopella in the z-order to be a "
        "topmost window.",
        ResString(IDM_ALWAYS_ON_TOP).GetText());
    EXPECT_STREQ("\nSet the zoom factor to 2 times", ResString(IDM_ZOOM_2X).GetText());
}

TEST(ResString, LinksAreOurOwn)
{
    const std::string mail = ResString(IDS_MAILTO_LINK).GetText();
    const std::string web = ResString(IDS_WEB_LINK).GetText();
    const std::string host = ResString(IDS_LINK_TEXT).GetText();
    EXPECT_EQ(0u, mail.find("mailto:"));
    EXPECT_NE(std::string::npos, mail.find("?subject=I%20love%20Scopella%20because..."));
    EXPECT_EQ(0u, web.find("https://"));
    EXPECT_NE(std::string::npos, web.find("?Scopella"));
    EXPECT_NE(std::string::npos, web.find(host));
}

TEST(ResString, EveryCommandWithATextHasOne)
{
    const UINT commands[] = {
        IDM_ALWAYS_ON_TOP,      IDM_FOLLOW_MOUSE,    IDM_ZOOM_2X,          IDM_ZOOM_4X,           IDM_WHATS_THIS,
        IDM_HELP_TOPICS,        IDM_TOGGLE_TOOLBAR,  IDM_TOGGLE_STATUSBAR, IDM_OPTIONS,           IDM_COPY_SEL_ORIGINAL,
        IDM_SAVE_SELECTION,     IDM_COPY_SEL_ZOOMED, IDM_CANCEL_SELECTION, IDM_ZOOM_TO_SELECTION, IDM_HIGHLIGHT,
        IDM_TOGGLE_GRID,        IDM_COLOUR_RGB,      IDM_COLOUR_HEX,       IDM_COORDS_SCREEN,     IDM_COORDS_CLIENT,
        IDM_TOGGLE_TRANSPARENT, IDM_COPY_ZOOMED,     IDM_COPY_ORIGINAL,    IDM_SAVE_IMAGE,        IDM_ABOUT};
    for (UINT id : commands)
        EXPECT_GT(ResString(id).GetLength(), 0) << id;
    // Commands that only keys issue have no text.
    const UINT silent[] = {IDM_CLOSE, IDM_CONTEXT_MENU, IDM_ZOOM_IN, IDM_ZOOM_OUT, IDM_RATE_UP, IDM_RATE_DOWN};
    for (UINT id : silent)
        EXPECT_EQ(nullptr, ResString(id).GetText()) << id;
}
