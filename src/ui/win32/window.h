// The installer window: class, creation, message handling and the button action.
#pragma once
#include <windows.h>

#include "app/context.h"

// The program's one installer context (defined with the entry point).
extern InstallerContext installerContext;

// Registers the class and creates the window, shown or (silent) hidden. nullptr after a
// "Startup Error" box.
HWND createInstallerWindow(HINSTANCE instance, const char* title);
// Whether the window acts on clicks and keys no more: a procedure has started.
bool installerRefusesInput();
