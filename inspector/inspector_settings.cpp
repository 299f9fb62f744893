#include "inspector/inspector_settings.h"

#include <cstring>

#include "base/owned_handle.h"
#include "inspector/colour_math.h"

static_assert(sizeof(bool) == 1, "a flag is stored as one byte");
static_assert(sizeof(COLORREF) * HistoryLength == 64, "the history is stored in 64 bytes");

InspectorSettings::InspectorSettings()
    : table{
          {"InspectorShown", sizeof(Shown), &Shown, REG_BINARY, false},
          {"InspectorPos", sizeof(Position), &Position, REG_BINARY, false},
          {"InspectorSampleSize", sizeof(SampleSize), &SampleSize, REG_DWORD, false},
          {"InspectorNotation", sizeof(LastNotation), &LastNotation, REG_DWORD, false},
          {"InspectorPinned", sizeof(Pinned), &Pinned, REG_DWORD, false},
          {"InspectorHistory", sizeof(History), History, REG_BINARY, false},
      }
{
    SetDefaults();
}

void InspectorSettings::SetDefaults()
{
    Shown = false;
    Position = POINT{0, 0};
    SampleSize = 1;
    LastNotation = static_cast<int>(Notation::Hex);
    Pinned = RGB(255, 255, 255);  // text is mostly read on white
    for (COLORREF& colour : History)
        colour = NoColour;
}

void InspectorSettings::Load()
{
    SetDefaults();
    OwnedKey key;
    HKEY opened = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, SettingsKeyPath, &opened) == ERROR_SUCCESS)
        key.reset(opened);
    for (SettingsEntry& row : table)
        row.loaded = key && ReadSettingsValue(key, row);
    BringIntoRange();
}

bool InspectorSettings::Save()
{
    HKEY created = nullptr;
    if (RegCreateKeyA(HKEY_CURRENT_USER, SettingsKeyPath, &created) != ERROR_SUCCESS)
        return false;
    const OwnedKey key(created);
    for (const SettingsEntry& row : table)
        WriteSettingsValue(key, row);
    return true;
}

void InspectorSettings::BringIntoRange()
{
    unsigned char flag;
    std::memcpy(&flag, &Shown, 1);
    Shown = flag != 0;

    if (Position.x < -32768 || Position.x > 32767 || Position.y < -32768 || Position.y > 32767) {
        table[RowPosition].loaded = false;  // placed beside the main window
        Position = POINT{0, 0};
    }

    // A side between the offered ones goes up to the next: the square stays
    // centred on the mouse.
    SampleSize = SampleSize < MinSampleSide ? MinSampleSide : (SampleSize > MaxSampleSide ? MaxSampleSide : SampleSize);
    SampleSize |= 1;

    if (LastNotation < 0 || LastNotation >= NotationCount)
        LastNotation = static_cast<int>(Notation::Hex);
    Pinned &= 0x00FFFFFF;

    // Places without a colour are dropped, and a colour met again; the rest
    // keep their order, newest first.
    int kept = 0;
    for (int i = 0; i < HistoryLength; ++i) {
        const COLORREF colour = History[i];
        bool seen = (colour & 0xFF000000) != 0;
        for (int j = 0; j < kept && !seen; ++j)
            seen = History[j] == colour;
        if (!seen)
            History[kept++] = colour;
    }
    for (int i = kept; i < HistoryLength; ++i)
        History[i] = NoColour;
}
