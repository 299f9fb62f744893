#include "magnifier/tooltip_control.h"

#include <commctrl.h>

namespace {

// The tool structure in the layout (with lParam) that every comctl32 from 4.70 on accepts.
TOOLINFOA makeToolInfo(UINT flags, HWND owner, UINT_PTR id)
{
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.uFlags = flags;
    info.hwnd = owner;
    info.uId = id;
    return info;
}

}  // namespace

bool TooltipControl::create(HINSTANCE instance, HWND parent)
{
    window = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr, instance, nullptr);
    return window != nullptr;
}

bool TooltipControl::addWindowTool(HWND tool, const char* text)
{
    TOOLINFOA info = makeToolInfo(TTF_IDISHWND | TTF_SUBCLASS, window, reinterpret_cast<UINT_PTR>(tool));
    if (!GetClientRect(tool, &info.rect))
        return false;
    info.lpszText = const_cast<char*>(text);
    return SendMessageA(window, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

void TooltipControl::activate(bool on)
{
    SendMessageA(window, TTM_ACTIVATE, on ? TRUE : FALSE, 0);
}

void TooltipControl::updateTipText(HWND tool, const char* text)
{
    TOOLINFOA info = makeToolInfo(0, window, reinterpret_cast<UINT_PTR>(tool));
    info.lpszText = const_cast<char*>(text);
    SendMessageA(window, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

bool TooltipControl::addRectTool(HWND owner, const RECT& rect, const char* text, UINT_PTR id)
{
    TOOLINFOA info = makeToolInfo(TTF_SUBCLASS, owner, id);
    info.rect = rect;
    info.lpszText = const_cast<char*>(text);
    return SendMessageA(window, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

void TooltipControl::setToolRect(HWND owner, UINT_PTR id, const RECT& rect)
{
    TOOLINFOA info = makeToolInfo(0, owner, id);
    info.rect = rect;
    SendMessageA(window, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&info));
}
