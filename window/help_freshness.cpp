// The help file check made when the window is created: a help file newer
// than the one last seen opens its main topic once.
#include <windows.h>

#include "base/globals.h"
#include "base/owned_handle.h"
#include "dialogs/help.h"
#include "window/magnifier_window.h"

namespace {

bool getFileWriteTime(const char* fileName, FILETIME* time)
{
    WIN32_FIND_DATAA found;
    const OwnedFind search(FindFirstFileA(fileName, &found));
    if (!search)
        return false;
    *time = found.ftLastWriteTime;
    return true;
}

}  // namespace

void MagnifierWindow::checkHelpFreshness()
{
    // The bare name is looked for in the current directory.
    FILETIME written;
    if (getFileWriteTime(HelpFileName, &written) && CompareFileTime(&written, &Settings.HelpFileTime) > 0) {
        Settings.HelpFileTime = written;
        ShowHelp(hwnd, HELP_CONTEXT, HelpMainTopic);
    }
}
