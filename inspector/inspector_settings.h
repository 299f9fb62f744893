// The colour inspector's own settings: six values under the program's
// settings key beside the main window's 32, read and written with the same
// machinery, and brought into range as they are read. An older Scopella
// that reads the key never asks for them.
#pragma once
#include <windows.h>

#include "base/settings.h"

constexpr int HistoryLength = 16;
constexpr int MinSampleSide = 1, MaxSampleSide = 9;
// A history place that holds no colour (no COLORREF has a high byte).
constexpr COLORREF NoColour = 0xFFFFFFFF;

class InspectorSettings {
public:
    InspectorSettings();
    InspectorSettings(const InspectorSettings&) = delete;
    InspectorSettings& operator=(const InspectorSettings&) = delete;

    // Defaults, then every value the key holds, brought into range.
    void Load();
    // Writes the six values (creating the key when needed); false when the
    // key cannot be had. A value that cannot be written does not stop the
    // others.
    bool Save();
    bool WasLoaded(int row) const { return table[row].loaded; }

    // The rows, in the order they are read and written.
    enum Row { RowShown, RowPosition, RowSampleSize, RowNotation, RowPinned, RowHistory, RowCount };

    bool Shown;            // "InspectorShown": the inspector was open at the last exit
    POINT Position;        // "InspectorPos": its top-left corner on the screen
    int SampleSize;        // "InspectorSampleSize": side of the sampled square, 1, 3, 5, 7 or 9
    int LastNotation;      // "InspectorNotation": the notation last copied (a Notation)
    COLORREF Pinned;       // "InspectorPinned": the colour the contrast is measured against
    COLORREF History[HistoryLength];  // "InspectorHistory": pinned colours, newest first

private:
    void SetDefaults();
    void BringIntoRange();
    SettingsEntry table[RowCount];
};
