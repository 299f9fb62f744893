// The persisted settings: one record whose fields mirror, one to one, the 32
// values under HKCU\Software\Brindle\Scopella\1. A static table maps each value
// name to its field, size and registry type, so loading and saving are loops.
#pragma once
#include <windows.h>

#include "base/owned_handle.h"

// Row numbers of SettingsTable, in the table's (and the registry's) order.
enum SettingsRow {
    RowTransparent,
    RowInitialDirectory,
    RowWindowPos,
    RowAlwaysOnTop,
    RowHelpFileTime,
    RowUpdate,
    RowZoomFactor,
    RowZoomPoint,
    RowEmailed,
    RowSaveZoomedImage,
    RowUpdate1,
    RowUpdate2,
    RowUpdate3,
    RowMouseTracking,
    RowDisplayToolbar,
    RowVisited,
    RowDisplayStatusbar,
    RowDisplayMouseWhenFollowing,
    RowDisplayRGBColourPanel,
    RowSingleInstance,
    RowShowGrid,
    RowGridColor,
    RowGridSize,
    RowRelativeCoords,
    RowTransparency,
    RowSlowScrollRate,
    RowFastScrollRate,
    RowHotKeyColourVK,
    RowHotKeyBitmapVK,
    RowHotKeyColourModifiers,
    RowHotKeyBitmapModifiers,
    RowUseOSCursor,
    SettingsRowCount
};

struct SettingsEntry {
    const char* name;
    DWORD size;
    void* field;
    DWORD type;
    bool loaded;
};

extern SettingsEntry SettingsTable[SettingsRowCount];

extern const char SettingsKeyPath[];

// One row's value read from an open key into the row's field; a value of
// another size, or a text stored as something else, leaves the field as it
// was. True when the field was read. Tables of other parts use it too.
bool ReadSettingsValue(HKEY key, const SettingsEntry& row);
// One row's field written to the key under the row's name and type.
bool WriteSettingsValue(HKEY key, const SettingsEntry& row);

class SettingsRecord {
public:
    SettingsRecord();           // loads every value
    virtual ~SettingsRecord();  // saves every value, closes the key

    SettingsRecord(const SettingsRecord&) = delete;
    SettingsRecord& operator=(const SettingsRecord&) = delete;

    // Defaults, then every value the key holds, brought into range.
    void Load();
    // Writes all 32 values (creating the key when needed). A value that cannot
    // be written does not stop the others. Nothing is reported.
    void Save();
    bool WasLoaded(SettingsRow row) const { return SettingsTable[row].loaded; }

    BOOL AlwaysOnTop;
    int Update;
    int ZoomFactor;
    RECT WindowPos;
    POINT ZoomPoint;
    char InitialDirectory[MAX_PATH];
    BOOL Emailed;
    BOOL SaveZoomedImage;
    int Update1;
    int Update2;
    int Update3;
    bool MouseTracking;
    bool DisplayToolbar;
    bool Visited;
    FILETIME HelpFileTime;
    bool DisplayStatusbar;
    bool DisplayMouseWhenFollowing;
    bool DisplayRGBColourPanel;
    bool SingleInstance;
    bool ShowGrid;
    COLORREF GridColor;
    int GridSize;
    bool RelativeCoords;
    bool Transparent;
    int nTransparency;
    bool bUseOSCursor;
    int nSlowScrollRate;
    int nFastScrollRate;
    int nHotKeyColourVK;
    int nHotKeyBitmapVK;
    int nHotKeyColourModifiers;
    int nHotKeyBitmapModifiers;

    OwnedKey key;

private:
    void SetDefaults();
    void ReadRow(SettingsEntry& row);
    void BringIntoRange();
};

// The one record of the program (defined with the other process-wide objects
// in globals.cpp).
extern SettingsRecord Settings;

// Ranges the rest of the program relies on.
constexpr int MinZoomFactor = 1, MaxZoomFactor = 32;
constexpr int MinGridSize = 1, MaxGridSize = 128;
constexpr int MinUpdateRate = 1, MaxUpdateRate = 4;
constexpr int MinUpdatePeriod = 20, MaxUpdatePeriod = 1000;
constexpr int MinTransparency = 10, MaxTransparency = 255;
constexpr int MinScrollStep = 1, MaxScrollStep = 10000;
