// Panning with the middle button, through the separate panning library.
#pragma once
#include <windows.h>

#include "base/owned_handle.h"

// The panning library while a panning started through it may run (null
// before the first middle click, after a load that failed and after the end).
extern OwnedModule panningLibrary;
