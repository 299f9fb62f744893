#include "dialogs/help_texts.h"

#include "resources/resource_ids.h"

namespace {

struct HelpText {
    DWORD helpId;
    UINT stringId;
};

// The main window's areas (as the context menus name them), its toolbar
// buttons (by command id) and the Save dialog's check box.
const HelpText FixedTexts[] = {
    {2, IDS_HELP_SAVE_ZOOMED},
    {113, IDS_HELP_ZOOM_TRACKBAR},
    {114, IDS_HELP_RATE_TRACKBAR},
    {115, IDS_HELP_TOOLBAR},
    {116, IDS_HELP_VIEW},
    {118, IDS_HELP_STATUS_BAR},
    {119, IDS_HELP_COLOUR_PANE},
    {120, IDS_HELP_SWATCH_PANE},
    {121, IDS_HELP_COORDS_PANE},
    {122, IDS_HELP_LINK_PANE},
    {IDM_ALWAYS_ON_TOP, IDS_HELP_ALWAYS_ON_TOP},
    {IDM_SAVE_IMAGE, IDS_HELP_SAVE_IMAGE},
    {IDM_COPY_ZOOMED, IDS_HELP_COPY_ZOOMED},
    {IDM_COPY_ORIGINAL, IDS_HELP_COPY_ORIGINAL},
    {IDM_ABOUT, IDS_HELP_ABOUT},
    {IDM_FOLLOW_MOUSE, IDS_HELP_FOLLOW_MOUSE},
    {IDM_TOGGLE_GRID, IDS_HELP_TOGGLE_GRID},
    {IDM_OPTIONS, IDS_HELP_OPTIONS},
};

// The Options dialog's controls carry the help id 0x808E0000 + control id;
// their texts lie at IDS_HELP_OPTIONS_BASE + control id.
constexpr DWORD OptionsHelpIds = 0x808E0000;
constexpr DWORD OptionsControlLimit = 0x1000;  // keeps the string id within 16 bits
// Likewise the colour inspector's: 0x80960000 + control id, texts at
// IDS_HELP_INSPECTOR_BASE + control id.
constexpr DWORD InspectorHelpIds = INSPECTOR_HELP_BASE;

}  // namespace

UINT HelpTextId(DWORD helpId)
{
    if ((helpId & 0xFFFF0000) == OptionsHelpIds) {
        const DWORD control = helpId & 0xFFFF;
        return control != 0 && control < OptionsControlLimit ? IDS_HELP_OPTIONS_BASE + control : 0;
    }
    if ((helpId & 0xFFFF0000) == InspectorHelpIds) {
        const DWORD control = helpId & 0xFFFF;
        return control != 0 && control < OptionsControlLimit ? IDS_HELP_INSPECTOR_BASE + control : 0;
    }
    for (const HelpText& entry : FixedTexts) {
        if (entry.helpId == helpId)
            return entry.stringId;
    }
    return 0;
}

bool FindHelpId(const DWORD* pairs, DWORD controlId, DWORD& helpId)
{
    if (!pairs)
        return false;
    for (; pairs[0] != 0; pairs += 2) {
        if (pairs[0] == controlId) {
            helpId = pairs[1];
            return true;
        }
    }
    return false;
}
