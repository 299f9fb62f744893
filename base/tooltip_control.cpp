#include "base/tooltip_control.h"

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

LPARAM toolParam(const TOOLINFOA& info)
{
    return reinterpret_cast<LPARAM>(&info);
}

}  // namespace

bool TooltipControl::create(HINSTANCE instance, HWND parent)
{
    attach(CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, parent, nullptr, instance, nullptr));
    return handle() != nullptr;
}

bool TooltipControl::addWindowTool(HWND tool, const char* text)
{
    TOOLINFOA info = makeToolInfo(TTF_IDISHWND | TTF_SUBCLASS, handle(), reinterpret_cast<UINT_PTR>(tool));
    if (!GetClientRect(tool, &info.rect))
        return false;
    info.lpszText = const_cast<char*>(text);
    return send(TTM_ADDTOOLA, 0, toolParam(info)) != 0;
}

void TooltipControl::activate(bool on)
{
    send(TTM_ACTIVATE, on ? TRUE : FALSE);
}

void TooltipControl::updateTipText(HWND tool, const char* text) const
{
    TOOLINFOA info = makeToolInfo(0, handle(), reinterpret_cast<UINT_PTR>(tool));
    info.lpszText = const_cast<char*>(text);
    send(TTM_UPDATETIPTEXTA, 0, toolParam(info));
}

bool TooltipControl::addRectTool(HWND owner, const RECT& rect, const char* text, UINT_PTR id)
{
    TOOLINFOA info = makeToolInfo(TTF_SUBCLASS, owner, id);
    info.rect = rect;
    info.lpszText = const_cast<char*>(text);
    return send(TTM_ADDTOOLA, 0, toolParam(info)) != 0;
}

void TooltipControl::setToolRect(HWND owner, UINT_PTR id, const RECT& rect)
{
    TOOLINFOA info = makeToolInfo(0, owner, id);
    info.rect = rect;
    send(TTM_NEWTOOLRECTA, 0, toolParam(info));
}

void TooltipControl::removeToolsOf(HWND window)
{
    if (!window)
        return;
    // From the last tool down: each removal renumbers the tools after it.
    for (int i = static_cast<int>(send(TTM_GETTOOLCOUNT)) - 1; i >= 0; --i) {
        char text[1024] = "";  // the enumeration copies the text here
        TOOLINFOA info = makeToolInfo(0, nullptr, 0);
        info.lpszText = text;
        if (!send(TTM_ENUMTOOLSA, i, toolParam(info)))
            continue;
        if (info.hwnd == window || info.uId == reinterpret_cast<UINT_PTR>(window))
            send(TTM_DELTOOLA, 0, toolParam(info));
    }
}

std::string TooltipControl::toolText(HWND owner, UINT_PTR id, UINT flags) const
{
    wchar_t text[1024] = L"";
    TOOLINFOW info = {};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.uFlags = flags;
    info.hwnd = owner;
    info.uId = id;
    info.lpszText = text;
    SendMessageW(handle(), TTM_GETTEXTW, sizeof(text) / sizeof(text[0]), reinterpret_cast<LPARAM>(&info));
    char narrow[1024] = "";
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof(narrow), nullptr, nullptr);
    return narrow;
}

RECT TooltipControl::toolRect(HWND owner, UINT_PTR id) const
{
    TOOLINFOA info = makeToolInfo(0, owner, id);
    send(TTM_GETTOOLINFOA, 0, toolParam(info));
    return info.rect;
}
