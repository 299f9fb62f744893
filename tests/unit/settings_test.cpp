// The settings record and its registry key: defaults, the 32 values with
// their names, types and sizes, loading, damaged values, saving.
#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "base/globals.h"
#include "tests/unit/test_support.h"

namespace {

struct ExpectedRow {
    const char* name;
    DWORD type;
    DWORD size;
};

// The registry contract: names, types and sizes, in the order of writing.
const ExpectedRow Rows[] = {
    {"Transparent", REG_BINARY, 1},
    {"InitialDirectory", REG_SZ, 260},
    {"WindowPos", REG_BINARY, 16},
    {"AlwaysOnTop", REG_BINARY, 4},
    {"HelpFileTime", REG_BINARY, 8},
    {"Update", REG_DWORD, 4},
    {"ZoomFactor", REG_DWORD, 4},
    {"ZoomPoint", REG_BINARY, 8},
    {"Emailed", REG_DWORD, 4},
    {"SaveZoomedImage", REG_BINARY, 4},
    {"Update1", REG_DWORD, 4},
    {"Update2", REG_DWORD, 4},
    {"Update3", REG_DWORD, 4},
    {"MouseTracking", REG_BINARY, 1},
    {"DisplayToolbar", REG_BINARY, 1},
    {"Visited", REG_BINARY, 1},
    {"DisplayStatusbar", REG_BINARY, 1},
    {"DisplayMouseWhenFollowing", REG_BINARY, 1},
    {"DisplayRGBColourPanel", REG_BINARY, 1},
    {"SingleInstance", REG_BINARY, 1},
    {"ShowGrid", REG_BINARY, 1},
    {"GridColor", REG_DWORD, 4},
    {"GridSize", REG_DWORD, 4},
    {"RelativeCoords", REG_BINARY, 1},
    {"nTransparency", REG_DWORD, 4},
    {"nSlowScrollRate", REG_DWORD, 4},
    {"nFastScrollRate", REG_DWORD, 4},
    {"nHotKeyColourVK", REG_DWORD, 4},
    {"nHotKeyBitmapVK", REG_DWORD, 4},
    {"nHotKeyColourModifiers", REG_DWORD, 4},
    {"nHotKeyBitmapModifiers", REG_DWORD, 4},
    {"bUseOSCursor", REG_BINARY, 1},
};

std::string documentsFolder()
{
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, path);
    return path;
}

DWORD dwordOf(const StoredValue& v)
{
    DWORD d = 0;
    if (v.data.size() == 4)
        memcpy(&d, v.data.data(), 4);
    return d;
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { deleteSettingsKey(); }
    void TearDown() override
    {
        deleteSettingsKey();
        Settings.Load();
    }
};

}  // namespace

TEST_F(SettingsTest, FirstRunGivesDefaultsAndTheDocumentsFolder)
{
    Settings.Load();
    EXPECT_EQ(nullptr, Settings.key.get());
    for (const SettingsEntry& row : SettingsTable)
        EXPECT_FALSE(row.loaded) << row.name;
    EXPECT_FALSE(Settings.Transparent);
    EXPECT_EQ(FALSE, Settings.AlwaysOnTop);
    EXPECT_EQ(1, Settings.Update);
    EXPECT_EQ(3, Settings.ZoomFactor);
    EXPECT_EQ(0, Settings.ZoomPoint.x);
    EXPECT_EQ(1000, Settings.Update1);
    EXPECT_EQ(100, Settings.Update2);
    EXPECT_EQ(50, Settings.Update3);
    EXPECT_FALSE(Settings.MouseTracking);
    EXPECT_TRUE(Settings.DisplayToolbar);
    EXPECT_TRUE(Settings.DisplayStatusbar);
    EXPECT_TRUE(Settings.DisplayMouseWhenFollowing);
    EXPECT_TRUE(Settings.DisplayRGBColourPanel);
    EXPECT_FALSE(Settings.SingleInstance);
    EXPECT_FALSE(Settings.ShowGrid);
    EXPECT_EQ(RGB(0, 0, 0), Settings.GridColor);
    EXPECT_EQ(1, Settings.GridSize);
    EXPECT_EQ(178, Settings.nTransparency);
    EXPECT_EQ(1, Settings.nSlowScrollRate);
    EXPECT_EQ(16, Settings.nFastScrollRate);
    EXPECT_EQ(0x43, Settings.nHotKeyColourVK);
    EXPECT_EQ(0x42, Settings.nHotKeyBitmapVK);
    EXPECT_EQ(3, Settings.nHotKeyColourModifiers);
    EXPECT_EQ(3, Settings.nHotKeyBitmapModifiers);
    EXPECT_TRUE(Settings.bUseOSCursor);
    EXPECT_FALSE(documentsFolder().empty());
    EXPECT_EQ(documentsFolder(), std::string(Settings.InitialDirectory).substr(0, documentsFolder().size()));
}

TEST_F(SettingsTest, SaveWritesExactlyTheThirtyTwoValues)
{
    Settings.Load();
    Settings.Save();
    const std::vector<std::string> names = settingNames();
    EXPECT_EQ(32u, names.size());
    for (const ExpectedRow& row : Rows) {
        const StoredValue v = readSetting(row.name);
        ASSERT_TRUE(v.exists) << row.name;
        EXPECT_EQ(row.type, v.type) << row.name;
        EXPECT_EQ(row.size, v.data.size()) << row.name;
    }
    ASSERT_EQ(32u, sizeof(Rows) / sizeof(Rows[0]));
    for (int i = 0; i < SettingsRowCount; ++i) {
        EXPECT_STREQ(Rows[i].name, SettingsTable[i].name);
        EXPECT_EQ(Rows[i].type, SettingsTable[i].type);
        EXPECT_EQ(Rows[i].size, SettingsTable[i].size);
    }
    // The directory is stored with its whole 260-byte field.
    const StoredValue dir = readSetting("InitialDirectory");
    EXPECT_EQ(std::string(Settings.InitialDirectory), std::string(reinterpret_cast<const char*>(dir.data.data())));
}

TEST_F(SettingsTest, ValuesRoundTripAndAreMarkedLoaded)
{
    Settings.Load();
    Settings.ZoomFactor = 7;
    Settings.ShowGrid = true;
    Settings.GridColor = RGB(10, 20, 30);
    Settings.WindowPos = RECT{11, 22, 511, 322};
    Settings.ZoomPoint = POINT{-40, 600};
    Settings.AlwaysOnTop = TRUE;
    lstrcpyA(Settings.InitialDirectory, "C:\\pictures");
    Settings.Save();

    Settings.Load();
    EXPECT_NE(nullptr, Settings.key.get());
    for (const SettingsEntry& row : SettingsTable)
        EXPECT_TRUE(row.loaded) << row.name;
    EXPECT_EQ(7, Settings.ZoomFactor);
    EXPECT_TRUE(Settings.ShowGrid);
    EXPECT_EQ(RGB(10, 20, 30), Settings.GridColor);
    EXPECT_EQ(11, Settings.WindowPos.left);
    EXPECT_EQ(322, Settings.WindowPos.bottom);
    EXPECT_EQ(-40, Settings.ZoomPoint.x);
    EXPECT_EQ(600, Settings.ZoomPoint.y);
    EXPECT_EQ(TRUE, Settings.AlwaysOnTop);
    EXPECT_STREQ("C:\\pictures", Settings.InitialDirectory);
    EXPECT_TRUE(Settings.WasLoaded(RowWindowPos));
}

TEST_F(SettingsTest, MissingValueKeepsItsDefaultWhileOthersLoad)
{
    writeDword("ZoomFactor", 9);
    writeSetting("InitialDirectory", REG_SZ, "C:\\x", 5);
    Settings.Load();
    EXPECT_EQ(9, Settings.ZoomFactor);
    EXPECT_TRUE(Settings.WasLoaded(RowZoomFactor));
    EXPECT_FALSE(Settings.WasLoaded(RowWindowPos));
    EXPECT_FALSE(Settings.WasLoaded(RowGridSize));
    EXPECT_EQ(1, Settings.GridSize);
    EXPECT_STREQ("C:\\x", Settings.InitialDirectory);
}

TEST_F(SettingsTest, ValuesOfTheWrongSizeAreNotUsed)
{
    const unsigned long long big = 5;
    writeSetting("ZoomFactor", REG_BINARY, &big, sizeof(big));  // larger than the field
    writeSetting("GridSize", REG_SZ, "5", 2);                   // another type and size
    const BYTE half[2] = {1, 2};
    writeSetting("WindowPos", REG_BINARY, half, sizeof(half));  // shorter than the field
    writeDword("InitialDirectory", 77);                         // not a text
    Settings.Load();
    EXPECT_EQ(3, Settings.ZoomFactor);
    EXPECT_FALSE(Settings.WasLoaded(RowZoomFactor));
    EXPECT_EQ(1, Settings.GridSize);
    EXPECT_FALSE(Settings.WasLoaded(RowWindowPos));
    EXPECT_EQ(0, Settings.WindowPos.right);
    EXPECT_FALSE(Settings.WasLoaded(RowInitialDirectory));
    EXPECT_EQ(documentsFolder(), std::string(Settings.InitialDirectory).substr(0, documentsFolder().size()));
}

TEST_F(SettingsTest, OutOfRangeNumbersAreClamped)
{
    struct Case {
        const char* name;
        int stored;
        const int* field;
        int expected;
    } cases[] = {
        {"ZoomFactor", 0, &Settings.ZoomFactor, 1},
        {"ZoomFactor", 40, &Settings.ZoomFactor, 32},
        {"ZoomFactor", -5, &Settings.ZoomFactor, 1},
        {"GridSize", 0, &Settings.GridSize, 1},
        {"GridSize", 500, &Settings.GridSize, 128},
        {"Update", 0, &Settings.Update, 1},
        {"Update", 9, &Settings.Update, 4},
        {"Update1", 5, &Settings.Update1, 20},
        {"Update2", 0, &Settings.Update2, 20},
        {"Update3", 5000, &Settings.Update3, 1000},
        {"Update3", -1, &Settings.Update3, 20},
        {"nSlowScrollRate", 0, &Settings.nSlowScrollRate, 1},
        {"nFastScrollRate", 0x7fffffff, &Settings.nFastScrollRate, 10000},
        {"nTransparency", 434, &Settings.nTransparency, 434},  // only its low byte (178) is the alpha
        {"nTransparency", 5, &Settings.nTransparency, 178},
        {"nTransparency", 256, &Settings.nTransparency, 178},
        {"nHotKeyColourVK", 0, &Settings.nHotKeyColourVK, 0x43},
        {"nHotKeyBitmapVK", 300, &Settings.nHotKeyBitmapVK, 0x42},
        {"nHotKeyColourModifiers", 0x10, &Settings.nHotKeyColourModifiers, 3},
        {"nHotKeyBitmapModifiers", 6, &Settings.nHotKeyBitmapModifiers, 6},
    };
    for (const Case& c : cases) {
        deleteSettingsKey();
        writeDword(c.name, static_cast<DWORD>(c.stored));
        Settings.Load();
        EXPECT_EQ(c.expected, *c.field) << c.name << " stored as " << c.stored;
    }
    deleteSettingsKey();
    writeDword("GridColor", 0x01FF8040);
    Settings.Load();
    EXPECT_EQ(0x00FF8040u, Settings.GridColor);
}

TEST_F(SettingsTest, ClearedHotkeyStaysClearedWhileOtherDamageFallsBack)
{
    struct Case {
        DWORD key, modifiers;
        int expectedKey, expectedModifiers;
    } cases[] = {{0, 0, 0, 0}, {0, 2, 0x43, 2}, {0, 0x10, 0x43, 3}, {255, 0, 0x43, 0}, {0x70, 0, 0x70, 0}};
    for (const Case& c : cases) {
        deleteSettingsKey();
        writeDword("nHotKeyColourVK", c.key);
        writeDword("nHotKeyColourModifiers", c.modifiers);
        Settings.Load();
        EXPECT_EQ(c.expectedKey, Settings.nHotKeyColourVK) << c.key << "/" << c.modifiers;
        EXPECT_EQ(c.expectedModifiers, Settings.nHotKeyColourModifiers) << c.key << "/" << c.modifiers;
        EXPECT_EQ(0x42, Settings.nHotKeyBitmapVK);
    }
}

TEST_F(SettingsTest, FlagsBecomeZeroOrOneAndAreSavedSo)
{
    const BYTE seven = 7;
    writeSetting("ShowGrid", REG_BINARY, &seven, 1);
    const DWORD five = 5;
    writeSetting("AlwaysOnTop", REG_BINARY, &five, 4);
    Settings.Load();
    EXPECT_TRUE(Settings.ShowGrid);
    EXPECT_EQ(TRUE, Settings.AlwaysOnTop);
    Settings.Save();
    EXPECT_EQ(std::vector<BYTE>{1}, readSetting("ShowGrid").data);
    EXPECT_EQ(1u, dwordOf(readSetting("AlwaysOnTop")));
}

TEST_F(SettingsTest, UnusableWindowRectangleIsNotUsed)
{
    const RECT shapes[] = {{500, 10, 100, 300}, {0, 0, 0, 0}, {10, 10, 10, 400}, {-100000, 0, 400, 300}};
    for (const RECT& r : shapes) {
        deleteSettingsKey();
        writeSetting("WindowPos", REG_BINARY, &r, sizeof(r));
        Settings.Load();
        EXPECT_FALSE(Settings.WasLoaded(RowWindowPos)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
    deleteSettingsKey();
    const RECT offScreen = {-3000, 5000, -2550, 5250};
    writeSetting("WindowPos", REG_BINARY, &offScreen, sizeof(offScreen));
    Settings.Load();
    EXPECT_TRUE(Settings.WasLoaded(RowWindowPos));  // moved back on screen after showing
}

TEST_F(SettingsTest, DirectoryFillingTheWholeFieldIsCutToFit)
{
    char full[260];
    memset(full, 'd', sizeof(full));
    writeSetting("InitialDirectory", REG_SZ, full, sizeof(full));
    Settings.Load();
    EXPECT_TRUE(Settings.WasLoaded(RowInitialDirectory));
    EXPECT_EQ(259u, strlen(Settings.InitialDirectory));
}

TEST_F(SettingsTest, ZoomPointFarOutsideAnyScreenIsBroughtNear)
{
    const POINT distant = {0x7ffffff0, -0x7ffffff0};
    writeSetting("ZoomPoint", REG_BINARY, &distant, sizeof(distant));
    Settings.Load();
    EXPECT_EQ(32767, Settings.ZoomPoint.x);
    EXPECT_EQ(-32768, Settings.ZoomPoint.y);
}

TEST_F(SettingsTest, AFailedWriteDoesNotStopTheOthers)
{
    Settings.Load();
    Settings.GridSize = 9;
    Settings.bUseOSCursor = false;
    // Point one early row at no data: the platform refuses that write.
    void* field = SettingsTable[RowUpdate].field;
    SettingsTable[RowUpdate].field = nullptr;
    Settings.Save();
    SettingsTable[RowUpdate].field = field;
    EXPECT_FALSE(readSetting("Update").exists);
    EXPECT_EQ(9u, dwordOf(readSetting("GridSize")));
    EXPECT_EQ(std::vector<BYTE>{0}, readSetting("bUseOSCursor").data);
    EXPECT_EQ(31u, settingNames().size());
}
