// Menu help: the prompt of the highlighted menu item in status-bar pane 0,
// and the idle hint when there is none.
#include <windows.h>
#include <string.h>

#include "base/globals.h"
#include "chrome/chrome.h"

void WindowChrome::OnMenuSelect(WPARAM wParam, LPARAM lParam) const
{
    const UINT item = LOWORD(wParam);
    const UINT flags = HIWORD(wParam);
    const char* text = StatusIdleText.GetText();
    ResString prompt(item);
    if (lParam && flags != 0xFFFF && item != 0) {
        // A command's text is its tooltip, a line feed, then its prompt.
        if (const char* s = prompt.GetText()) {
            if (const char* lineFeed = strchr(s, '\n'))
                text = lineFeed + 1;
        }
    }
    statusBar_.setMenuHelp(text);
}
