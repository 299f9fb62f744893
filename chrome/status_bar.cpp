// The status bar: its five panes and their widths, the panes' tooltips, the
// readouts' coordinate and colour texts, the owner-drawn colour swatch and
// link, the link's click and hand cursor, and showing or hiding the bar.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstring>

#include "base/dpi.h"
#include "base/globals.h"
#include "base/owned_handle.h"
#include "base/scope_guards.h"
#include "chrome/chrome.h"
#include "resources/resource_ids.h"

namespace {

constexpr int SwatchPaneWidth = 31;

// Room for the panes is the bar's width less the size grip; when they fit,
// the first pane takes the rest, and the last ends this far past that room.
constexpr int LastPaneOverhang = 3;

// Item value of the owner-drawn panes; the drawing does not use it.
const LPARAM OwnerDrawnItem = 0x1234;

// Not a colour a read of the screen gives: none is shown yet.
constexpr COLORREF NoColourShown = 0x7F000000;

const UINT PaneTooltips[PaneCount] = {0, IDS_TIP_COLOUR_PANE, IDS_TIP_SWATCH_PANE, IDS_TIP_COORDS_PANE,
                                      IDS_TIP_LINK_PANE};

int textWidth(HDC dc, ResString& text)
{
    SIZE size = {0, 0};
    const char* s = text.GetText();
    if (s)
        GetTextExtentPoint32A(dc, s, text.GetLength(), &size);
    return size.cx;
}

void drawSwatch(const DRAWITEMSTRUCT& item, COLORREF colour)
{
    // Only the colour bytes: a pixel that could not be read (all bits set) is
    // shown white, as its text says, and no brush can be made of it.
    OwnedBrush brush(CreateSolidBrush(colour & 0x00FFFFFF));
    if (brush)
        FillRect(item.hDC, &item.rcItem, brush);
}

void drawLink(const DRAWITEMSTRUCT& item)
{
    LOGFONTA font = {};
    HFONT statusFont = StatusBar(item.hwndItem).font();
    if (!statusFont || !GetObjectA(statusFont, sizeof(font), &font))
        GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    font.lfUnderline = TRUE;
    OwnedFont underlined(CreateFontIndirectA(&font));
    SelectedObject selected(item.hDC, underlined);
    // The status bar goes on drawing with this context: leave it as found.
    const COLORREF oldColour = SetTextColor(item.hDC, RGB(0, 0, 255));
    const int oldMode = SetBkMode(item.hDC, TRANSPARENT);
    RECT r = item.rcItem;
    if (LinkText.GetText())
        DrawTextA(item.hDC, LinkText.GetText(), -1, &r, DT_CENTER);
    SetBkMode(item.hDC, oldMode);
    SetTextColor(item.hDC, oldColour);
}

}  // namespace

void WindowChrome::createStatusBar()
{
    statusBar_ = CreateStatusWindowA(WS_CHILD | WS_VISIBLE | WS_BORDER | SBARS_SIZEGRIP | CCS_BOTTOM,
                                     StatusIdleText.GetText(), window, StatusBarId);
    statusBar_.setMenuHelp(StatusIdleText.GetText());
    coordsShown[0] = '\0';
    linkOwnerDrawn = false;
    statusBar_.setFont(chromeFont ? chromeFont.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    RECT r = {0, 0, 0, 0};
    GetWindowRect(statusBar_, &r);
    statusHeight_ = r.bottom - r.top;
}

void WindowChrome::setStatusParts()
{
    int widths[PaneCount];
    {
        WindowDC dc(GetDC(window), window);
        if (!dc)
            return;
        SelectedObject font(dc, chromeFont ? chromeFont.get() : GetStockObject(DEFAULT_GUI_FONT));
        const int margin = scaleToDpi(6, dpi_);
        widths[MenuHelpPane] = textWidth(dc, StatusIdleText) + margin;
        widths[ColourTextPane] = textWidth(dc, ColourMeasureText) + margin;
        widths[SwatchPane] = scaleToDpi(SwatchPaneWidth, dpi_);
        widths[CoordsPane] = textWidth(dc, CoordsMeasureText) + margin;
        widths[LinkPane] = textWidth(dc, LinkText) + 2 * margin;
    }

    RECT client = {0, 0, 0, 0};
    GetClientRect(window, &client);
    const int available = (client.right - client.left) - statusHeight_;  // less the size grip
    const int others = widths[ColourTextPane] + widths[SwatchPane] + widths[CoordsPane] + widths[LinkPane];
    if (available + LastPaneOverhang > widths[MenuHelpPane] + others)
        widths[MenuHelpPane] = available + LastPaneOverhang - others;

    int edges[PaneCount];
    int edge = 0;
    for (int i = 0; i < PaneCount; ++i) {
        edge += widths[i];
        edges[i] = edge;
    }
    statusBar_.setParts(PaneCount, edges);
    refreshPaneTooltips();
}

void WindowChrome::addPaneTooltips()
{
    char text[128];
    for (int pane = ColourTextPane; pane <= LinkPane; ++pane) {
        RECT r = {0, 0, 0, 0};
        statusBar_.paneRect(pane, r);
        ResString tip(PaneTooltips[pane]);
        lstrcpynA(text, tip.TextOrEmpty(), sizeof(text));
        tooltips_.addRectTool(statusBar_, r, text, pane);
    }
}

void WindowChrome::refreshPaneTooltips()
{
    if (!statusBar_)
        return;
    for (int pane = ColourTextPane; pane <= LinkPane; ++pane) {
        RECT r;
        if (statusBar_.paneRect(pane, r))
            tooltips_.setToolRect(statusBar_, pane, r);
    }
}

bool WindowChrome::showStatusBar(bool shown)
{
    return ShowWindow(statusBar_, shown ? SW_SHOW : SW_HIDE) != FALSE;
}

void WindowChrome::showCoordinates(POINT shown)
{
    char text[64];
    wsprintfA(text, CoordsFormat.TextOrEmpty(), shown.x, shown.y);
    // Every message to the status bar costs calls into the server, even one
    // that changes nothing: the text goes only when it differs from the one
    // the bar shows.
    if (std::strcmp(coordsShown, text) == 0)
        return;
    statusBar_.setText(CoordsPane, text);
    lstrcpynA(coordsShown, text, sizeof(coordsShown));
}

void WindowChrome::showColour(COLORREF colour)
{
    if (colour == colourShown)
        return;
    colourShown = colour;
    char text[64];
    ResString& format = Settings.DisplayRGBColourPanel ? ColourRgbFormat : ColourHexFormat;
    wsprintfA(text, format.TextOrEmpty(), GetRValue(colour), GetGValue(colour), GetBValue(colour));
    // The status bar repaints at once with every text it is given: a swatch
    // that is owner-drawn already is only marked for redrawing, so that it is
    // drawn in the new colour by the colour text's repaint, not by one more.
    RECT swatch;
    const bool swatchDrawn = statusBar_.ownerDrawn(SwatchPane) && statusBar_.paneRect(SwatchPane, swatch);
    if (swatchDrawn)
        InvalidateRect(statusBar_, &swatch, FALSE);
    statusBar_.setText(ColourTextPane, text);
    if (!swatchDrawn)
        statusBar_.setOwnerDrawn(SwatchPane, OwnerDrawnItem);
    // The link looks the same whatever the colour: once this bar draws it,
    // setting it again would only repaint it.
    if (!linkOwnerDrawn) {
        statusBar_.setOwnerDrawn(LinkPane, OwnerDrawnItem);
        linkOwnerDrawn = true;
    }
}

void WindowChrome::forgetColourShown()
{
    colourShown = NoColourShown;
}

LRESULT WindowChrome::OnDrawItem(const DRAWITEMSTRUCT* item) const
{
    // The status bar's CtlType is not reliable on every platform: go by id.
    if (!item || item->CtlID != StatusBarId)
        return 0;
    if (item->itemID == SwatchPane)
        drawSwatch(*item, colourShown);
    else if (item->itemID == LinkPane)
        drawLink(*item);
    return 0;
}

void openClickedLink(const NMMOUSE& click)
{
    if (click.dwItemSpec == LinkPane) {
        static ResString linkTarget(IDS_WEB_LINK);
        ShellExecuteA(nullptr, "open", linkTarget.GetText(), nullptr, nullptr, SW_SHOWNORMAL);
    }
}

bool WindowChrome::OnSetCursor() const
{
    // A hidden status bar lies below the client area, over the window's
    // border, and must not put the hand there.
    if (!statusBar_ || !IsWindowVisible(statusBar_))
        return false;
    POINT p;
    RECT bar;
    if (!GetCursorPos(&p) || !GetWindowRect(statusBar_, &bar) || !PtInRect(&bar, p))
        return false;
    ScreenToClient(statusBar_, &p);
    RECT pane;
    if (!statusBar_.paneRect(LinkPane, pane))
        return false;
    if (p.x < pane.left || p.x >= pane.right || p.y < pane.top || p.y >= pane.bottom)
        return false;
    SetCursor(LinkCursor);
    return true;
}
