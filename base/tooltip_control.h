// Wrapper of the main window's one system tooltip control, shared by the
// toolbar, the trackbars and the status-bar panes.
#pragma once
#include <windows.h>

#include <string>

#include "base/controls.h"

class TooltipControl : public Control {
public:
    TooltipControl() = default;
    // Forgets the handle only: the control is owned by the main window and is
    // destroyed with it.
    virtual ~TooltipControl() { attach(nullptr); }

    TooltipControl(const TooltipControl&) = delete;
    TooltipControl& operator=(const TooltipControl&) = delete;

    bool create(HINSTANCE instance, HWND parent);
    // A tool covering a whole window, identified by its handle.
    bool addWindowTool(HWND tool, const char* text);
    void activate(bool on);
    void updateTipText(HWND tool, const char* text) const;
    // A tool covering a rectangle of the owner, identified by id.
    bool addRectTool(HWND owner, const RECT& rect, const char* text, UINT_PTR id);
    void setToolRect(HWND owner, UINT_PTR id, const RECT& rect);
    // A tool's text in full (the ANSI message would stop at 80 characters)
    // and its rectangle.
    std::string toolText(HWND owner, UINT_PTR id, UINT flags = 0) const;
    RECT toolRect(HWND owner, UINT_PTR id) const;
    // Removes every tool of a window: those it owns and the one it is.
    void removeToolsOf(HWND window);
};
