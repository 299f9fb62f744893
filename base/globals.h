// Process-wide objects. They are all defined in globals.cpp, in the order in
// which they must be constructed before WinMain runs.
#pragma once
#include <windows.h>

#include "base/res_string.h"
#include "base/settings.h"

// ModuleHandle (string-table loads) and ProcessHeap (every ResString text)
// are declared in res_string.h, Settings in settings.h.
extern HINSTANCE AppInstance;  // WinMain's instance: every other resource
extern HCURSOR LinkCursor;     // hand shown over hyperlinks

extern ResString MailtoLink;
extern ResString WebLink;

// Registered window messages (0 when not registered).
extern UINT wheelRollMessage;
extern UINT originUpdateMessage;
extern UINT originEndMessage;

extern ResString ZoomLevelFormat;
extern ResString AutoUpdateFormat;
extern ResString StatusIdleText;
extern ResString ColourMeasureText;
extern ResString CoordsMeasureText;
extern ResString ColourRgbFormat;
extern ResString ColourHexFormat;
extern ResString CoordsFormat;
extern ResString LinkText;
extern ResString PickTipText;

extern ResString OptionsAppTitle;  // caption of the Options dialog's messages

extern ResString AppTitle;  // window title, start-up error caption
