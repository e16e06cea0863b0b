// Libraries that the program loads at run time come from the system folder alone, by full
// path: it runs elevated, often from a downloads folder, where a planted DLL with a system
// library's name would otherwise be found first.
#pragma once
#include "app/paths.h"
#include "platform/platform.h"

// Loads "<system folder>\name", after restricting the search for what it loads in turn.
// nullptr when the system folder cannot be read whole: never a load by bare name.
platform::ModuleHandle loadSystemLibrary(const char* name);

// The shell-folder calls, each from its system library, loaded for the call and freed after.
// out is empty unless the call is ok.
platform::ShellCall shellSpecialFolder(int csidl, bool create, char (&out)[PATH_BYTES]);
platform::ShellCall shfolderFolder(int csidl, char (&out)[PATH_BYTES]);
