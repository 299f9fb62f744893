// The About box: the links' colours, font, cursor and clicks.
#include "dialogs/about_box.h"

#include <shellapi.h>

#include "base/globals.h"
#include "base/owned_handle.h"
#include "dialogs/dialog_controls.h"
#include "resources/resource_ids.h"

namespace {

// The dialog's font underlined, while the box is open.
OwnedFont linkFont;
// The STATIC class's procedure, which the links hand everything but the cursor to.
WNDPROC staticClassProc = nullptr;

void makeLinkFont(HWND dialog)
{
    LOGFONTA font = {};
    const HFONT dialogFont = DialogWindow(dialog).font();
    if (!dialogFont || !GetObjectA(dialogFont, sizeof(font), &font)) {
        linkFont.reset();
        return;
    }
    font.lfUnderline = TRUE;
    linkFont.reset(CreateFontIndirectA(&font));
}

// Opens a link's target through the shell; a failure only beeps.
bool openLink(ResString& target)
{
    const HINSTANCE result = ShellExecuteA(nullptr, "open", target.GetText(), nullptr, nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(result) > 32)
        return true;
    MessageBeep(0);
    return false;
}

// A click on a link opens it; once opened it is followed for good and is
// drawn again in the followed colour.
void onLinkClicked(int id, HWND link)
{
    const bool mail = id == IDC_MAIL_LINK;
    if (!openLink(mail ? MailtoLink : WebLink))
        return;
    if (mail)
        Settings.Emailed = TRUE;
    else
        Settings.Visited = true;
    InvalidateRect(link, nullptr, FALSE);
}

INT_PTR colourLink(HDC dc, bool followed)
{
    // The static draws its text with this context after the message returns,
    // so the font stays selected in it.
    if (linkFont)
        SelectObject(dc, linkFont);
    SetTextColor(dc, followed ? FollowedLinkColour : LinkColour);
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
}

}  // namespace

void RunAboutBox(HWND owner)
{
    DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutDialogProc, 0);
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        staticClassProc = subclassWindow(GetDlgItem(dialog, IDC_MAIL_LINK), LinkStaticProc);
        subclassWindow(GetDlgItem(dialog, IDC_WEB_LINK), LinkStaticProc);
        makeLinkFont(dialog);
        return TRUE;
    case WM_DESTROY:
        linkFont.reset();
        return FALSE;
    case WM_COMMAND: {
        const UINT id = LOWORD(wParam);
        if (id == IDOK || id == IDCANCEL) {
            EndDialog(dialog, id);
            return TRUE;
        }
        if ((id == IDC_MAIL_LINK || id == IDC_WEB_LINK) && HIWORD(wParam) == STN_CLICKED)
            onLinkClicked(id, reinterpret_cast<HWND>(lParam));
        return FALSE;
    }
    case WM_CTLCOLORSTATIC: {
        const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
        const HDC dc = reinterpret_cast<HDC>(wParam);
        if (id == IDC_MAIL_LINK)
            return colourLink(dc, Settings.Emailed != FALSE);
        if (id == IDC_WEB_LINK)
            return colourLink(dc, Settings.Visited);
        return FALSE;
    }
    default:
        return FALSE;
    }
}

LRESULT CALLBACK LinkStaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETCURSOR) {
        SetCursor(LinkCursor);
        return TRUE;
    }
    return CallWindowProcA(staticClassProc, window, message, wParam, lParam);
}
