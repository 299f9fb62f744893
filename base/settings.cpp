#include "base/settings.h"

#include <shlobj.h>
#include <string.h>

const char SettingsKeyPath[] = "Software\\Brindle\\Scopella\\1";

#define ROW(name, type, field)                                     \
    {                                                              \
        name, sizeof(Settings.field), &Settings.field, type, false \
    }

// The order of this table is the order in which values are read and written.
SettingsEntry SettingsTable[SettingsRowCount] = {
    ROW("Transparent", REG_BINARY, Transparent),
    ROW("InitialDirectory", REG_SZ, InitialDirectory),
    ROW("WindowPos", REG_BINARY, WindowPos),
    ROW("AlwaysOnTop", REG_BINARY, AlwaysOnTop),
    ROW("HelpFileTime", REG_BINARY, HelpFileTime),
    ROW("Update", REG_DWORD, Update),
    ROW("ZoomFactor", REG_DWORD, ZoomFactor),
    ROW("ZoomPoint", REG_BINARY, ZoomPoint),
    ROW("Emailed", REG_DWORD, Emailed),
    ROW("SaveZoomedImage", REG_BINARY, SaveZoomedImage),
    ROW("Update1", REG_DWORD, Update1),
    ROW("Update2", REG_DWORD, Update2),
    ROW("Update3", REG_DWORD, Update3),
    ROW("MouseTracking", REG_BINARY, MouseTracking),
    ROW("DisplayToolbar", REG_BINARY, DisplayToolbar),
    ROW("Visited", REG_BINARY, Visited),
    ROW("DisplayStatusbar", REG_BINARY, DisplayStatusbar),
    ROW("DisplayMouseWhenFollowing", REG_BINARY, DisplayMouseWhenFollowing),
    ROW("DisplayRGBColourPanel", REG_BINARY, DisplayRGBColourPanel),
    ROW("SingleInstance", REG_BINARY, SingleInstance),
    ROW("ShowGrid", REG_BINARY, ShowGrid),
    ROW("GridColor", REG_DWORD, GridColor),
    ROW("GridSize", REG_DWORD, GridSize),
    ROW("RelativeCoords", REG_BINARY, RelativeCoords),
    ROW("nTransparency", REG_DWORD, nTransparency),
    ROW("nSlowScrollRate", REG_DWORD, nSlowScrollRate),
    ROW("nFastScrollRate", REG_DWORD, nFastScrollRate),
    ROW("nHotKeyColourVK", REG_DWORD, nHotKeyColourVK),
    ROW("nHotKeyBitmapVK", REG_DWORD, nHotKeyBitmapVK),
    ROW("nHotKeyColourModifiers", REG_DWORD, nHotKeyColourModifiers),
    ROW("nHotKeyBitmapModifiers", REG_DWORD, nHotKeyBitmapModifiers),
    ROW("bUseOSCursor", REG_BINARY, bUseOSCursor),
};

#undef ROW

static_assert(sizeof(bool) == 1, "the one-byte flags are stored as single bytes");
static_assert(sizeof(Settings.InitialDirectory) == 260, "InitialDirectory is stored in 260 bytes");

namespace {

int clampInt(int v, int lo, int hi)
{
    return v < lo ? lo : (v > hi ? hi : v);
}

// A one-byte flag read from the registry may hold any byte; make it a real bool.
void normaliseFlag(bool& flag)
{
    unsigned char byte;
    memcpy(&byte, &flag, 1);
    flag = byte != 0;
}

// A hotkey is a key of 1..254 with modifiers of the four known bits, or key 0
// with no modifiers: a hotkey the user cleared, which stays cleared. Other
// damage falls back to the default key with Shift+Ctrl.
void keepHotkeyUsable(int& key, int& modifiers, int defaultKey)
{
    if (modifiers & ~0x0F)
        modifiers = 3;
    if (key == 0 && modifiers == 0)
        return;
    if (key < 1 || key > 254)
        key = defaultKey;
}

void fillDocumentsFolder(char* path)
{
    path[0] = '\0';
    LPITEMIDLIST items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_PERSONAL, &items)) || !items)
        return;
    if (!SHGetPathFromIDListA(items, path))
        path[0] = '\0';
    IMalloc* shellMalloc = nullptr;
    if (SUCCEEDED(SHGetMalloc(&shellMalloc)) && shellMalloc) {
        shellMalloc->Free(items);
        shellMalloc->Release();
    } else {
        CoTaskMemFree(items);  // the shell's allocator is the task allocator
    }
}

}  // namespace

SettingsRecord::SettingsRecord()
{
    Load();
}

SettingsRecord::~SettingsRecord()
{
    Save();
}

void SettingsRecord::SetDefaults()
{
    Transparent = false;
    InitialDirectory[0] = '\0';
    WindowPos = RECT{0, 0, 0, 0};
    AlwaysOnTop = FALSE;
    HelpFileTime = FILETIME{0, 0};
    Update = 1;
    ZoomFactor = 3;
    ZoomPoint = POINT{0, 0};
    Emailed = FALSE;
    SaveZoomedImage = FALSE;
    Update1 = 1000;
    Update2 = 100;
    Update3 = 50;
    MouseTracking = false;
    DisplayToolbar = true;
    Visited = false;
    DisplayStatusbar = true;
    DisplayMouseWhenFollowing = true;
    DisplayRGBColourPanel = true;
    SingleInstance = false;
    ShowGrid = false;
    GridColor = RGB(0, 0, 0);
    GridSize = 1;
    RelativeCoords = false;
    nTransparency = 178;
    nSlowScrollRate = 1;
    nFastScrollRate = 16;
    nHotKeyColourVK = 0x43;
    nHotKeyBitmapVK = 0x42;
    nHotKeyColourModifiers = 3;
    nHotKeyBitmapModifiers = 3;
    bUseOSCursor = true;
}

void SettingsRecord::Load()
{
    key.reset();
    SetDefaults();
    for (SettingsEntry& row : SettingsTable)
        row.loaded = false;

    HKEY opened = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, SettingsKeyPath, &opened) == ERROR_SUCCESS)
        key.reset(opened);
    if (key) {
        for (SettingsEntry& row : SettingsTable)
            ReadRow(row);
    }
    BringIntoRange();
    if (!SettingsTable[RowInitialDirectory].loaded)
        fillDocumentsFolder(InitialDirectory);
}

void SettingsRecord::ReadRow(SettingsEntry& row)
{
    if (ReadSettingsValue(key, row))
        row.loaded = true;
}

// Reads through a scratch buffer, so that a value of the wrong size leaves
// the field at its default instead of half overwritten.
bool ReadSettingsValue(HKEY key, const SettingsEntry& row)
{
    BYTE data[MAX_PATH + 1] = {};
    if (row.size > MAX_PATH)
        return false;
    DWORD type = 0;
    // A text that fills the whole field without its terminator comes back
    // with one added, so texts get room for that one byte more.
    DWORD size = row.type == REG_SZ ? row.size + 1 : row.size;
    if (RegQueryValueExA(key, row.name, nullptr, &type, data, &size) != ERROR_SUCCESS)
        return false;
    if (row.type == REG_SZ) {
        if (type != REG_SZ || (size > row.size && data[row.size] != '\0'))
            return false;
        // Such a text is cut to fit the field with its terminator.
        memset(row.field, 0, row.size);
        memcpy(row.field, data, size < row.size ? size : row.size);
        static_cast<char*>(row.field)[row.size - 1] = '\0';
    } else {
        if (size != row.size)
            return false;
        memcpy(row.field, data, row.size);
    }
    return true;
}

bool WriteSettingsValue(HKEY key, const SettingsEntry& row)
{
    return RegSetValueExA(key, row.name, 0, row.type, static_cast<const BYTE*>(row.field), row.size) == ERROR_SUCCESS;
}

// Values from the registry may have been edited or damaged; everything the
// program divides by, steps with or shows is brought into a usable range here.
void SettingsRecord::BringIntoRange()
{
    for (SettingsEntry& row : SettingsTable) {
        if (row.size == 1)
            normaliseFlag(*static_cast<bool*>(row.field));
    }
    AlwaysOnTop = AlwaysOnTop != 0;
    Emailed = Emailed != 0;
    SaveZoomedImage = SaveZoomedImage != 0;

    ZoomFactor = clampInt(ZoomFactor, MinZoomFactor, MaxZoomFactor);
    GridSize = clampInt(GridSize, MinGridSize, MaxGridSize);
    Update = clampInt(Update, MinUpdateRate, MaxUpdateRate);
    Update1 = clampInt(Update1, MinUpdatePeriod, MaxUpdatePeriod);
    Update2 = clampInt(Update2, MinUpdatePeriod, MaxUpdatePeriod);
    Update3 = clampInt(Update3, MinUpdatePeriod, MaxUpdatePeriod);
    nSlowScrollRate = clampInt(nSlowScrollRate, MinScrollStep, MaxScrollStep);
    nFastScrollRate = clampInt(nFastScrollRate, MinScrollStep, MaxScrollStep);
    GridColor &= 0x00FFFFFF;

    // Only the low byte is the alpha; one that would make the window all but
    // invisible falls back to the default.
    if ((nTransparency & 0xFF) < MinTransparency)
        nTransparency = 178;

    keepHotkeyUsable(nHotKeyColourVK, nHotKeyColourModifiers, 0x43);
    keepHotkeyUsable(nHotKeyBitmapVK, nHotKeyBitmapModifiers, 0x42);

    ZoomPoint.x = clampInt(ZoomPoint.x, -32768, 32767);
    ZoomPoint.y = clampInt(ZoomPoint.y, -32768, 32767);

    // A stored rectangle that no window could have is not used for placement.
    const RECT& w = WindowPos;
    const long long width = static_cast<long long>(w.right) - w.left;
    const long long height = static_cast<long long>(w.bottom) - w.top;
    if (w.left < -32768 || w.left > 32767 || w.top < -32768 || w.top > 32767 || width < 1 || width > 32767 ||
        height < 1 || height > 32767) {
        SettingsTable[RowWindowPos].loaded = false;
        WindowPos = RECT{0, 0, 0, 0};
    }
}

void SettingsRecord::Save()
{
    if (!key) {
        HKEY created = nullptr;
        if (RegCreateKeyA(HKEY_CURRENT_USER, SettingsKeyPath, &created) != ERROR_SUCCESS)
            return;
        key.reset(created);
    }
    for (const SettingsEntry& row : SettingsTable)
        WriteSettingsValue(key, row);
}
