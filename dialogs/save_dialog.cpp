// The system's Save As dialog with one check box (zoomed or unscaled) and two
// file types (BMP, PNG), and the file-name arithmetic around it.
#include "dialogs/save_dialog.h"

#include <commdlg.h>
#include <shlwapi.h>
#include <windowsx.h>

#include "base/globals.h"
#include "dialogs/help.h"
#include "resources/resource_ids.h"

namespace {

// The check box's state, shared by AskSaveFileName and the dialog's hook.
bool saveZoomedChecked = false;

// The check box's pop-up help topic, for both help requests.
const DWORD SaveDialogHelpIds[] = {IDC_SAVE_ZOOMED, 2, 0, 0};

// The file types in the order of the dialog's filter list (1 the first).
constexpr DWORD BmpFilterIndex = 1;
constexpr DWORD PngFilterIndex = 2;

}  // namespace

bool SavesAsPng(const char* path, DWORD filterIndex)
{
    const char* extension = PathFindExtensionA(path);
    if (lstrcmpiA(extension, ".png") == 0)
        return true;
    if (lstrcmpiA(extension, ".bmp") == 0)
        return false;
    return filterIndex == PngFilterIndex;
}

void ReplaceChar(char* text, char from, char to)
{
    for (; *text; ++text) {
        if (*text == from)
            *text = to;
    }
}

std::string DirectoryOf(const char* path)
{
    const char* last = nullptr;
    for (const char* p = path; *p; ++p) {
        if (*p == '\\' || *p == '/')
            last = p;
    }
    return last ? std::string(path, last + 1) : std::string();
}

UINT_PTR CALLBACK SaveDialogHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        CheckDlgButton(dialog, IDC_SAVE_ZOOMED, saveZoomedChecked ? BST_CHECKED : BST_UNCHECKED);
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_SAVE_ZOOMED && HIWORD(wParam) == BN_CLICKED)
            saveZoomedChecked = IsDlgButtonChecked(dialog, IDC_SAVE_ZOOMED) == BST_CHECKED;
        return FALSE;
    case WM_NOTIFY: {
        // A name typed without an extension gets the chosen type's.
        const auto* notify = reinterpret_cast<const OFNOTIFYA*>(lParam);
        if (notify && notify->hdr.code == CDN_TYPECHANGE && notify->lpOFN) {
            const char* extension = notify->lpOFN->nFilterIndex == PngFilterIndex ? "png" : "bmp";
            SendMessageA(GetParent(dialog), CDM_SETDEFEXT, 0, reinterpret_cast<LPARAM>(extension));
        }
        return FALSE;
    }
    case WM_HELP: {
        const auto* info = reinterpret_cast<const HELPINFO*>(lParam);
        if (!info || info->iCtrlId == 0)
            return FALSE;
        ShowHelp(GetDlgItem(dialog, IDC_SAVE_ZOOMED), HELP_WM_HELP, reinterpret_cast<ULONG_PTR>(SaveDialogHelpIds));
        return TRUE;
    }
    case WM_CONTEXTMENU: {
        const POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const HWND checkBox = GetDlgItem(dialog, IDC_SAVE_ZOOMED);
        if (!checkBox || WindowFromPoint(point) != checkBox)
            return FALSE;
        ShowHelp(checkBox, HELP_CONTEXTMENU, reinterpret_cast<ULONG_PTR>(SaveDialogHelpIds));
        return TRUE;
    }
    default:
        return FALSE;
    }
}

bool AskSaveFileName(HWND owner, const char* initialDirectory, bool& zoomed, bool& png, char* file, DWORD size)
{
    // "description|pattern||" with each "|" made a NUL: the filter list.
    ResString filterText(IDS_SAVE_FILTER);
    std::string filter = filterText.TextOrEmpty();
    ReplaceChar(&filter[0], '|', '\0');

    saveZoomedChecked = zoomed;
    file[0] = '\0';
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = owner;
    dialog.hInstance = AppInstance;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = BmpFilterIndex;
    dialog.lpstrFile = file;
    dialog.nMaxFile = size;
    dialog.lpstrInitialDir = initialDirectory;
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_NOREADONLYRETURN |
                   OFN_EXPLORER | OFN_ENABLESIZING;
    dialog.lpstrDefExt = "bmp";
    dialog.lpfnHook = SaveDialogHook;
    dialog.lpTemplateName = MAKEINTRESOURCEA(IDD_SAVE_OPTIONS);
    if (!GetSaveFileNameA(&dialog))
        return false;
    zoomed = saveZoomedChecked;
    png = SavesAsPng(file, dialog.nFilterIndex);
    return true;
}
