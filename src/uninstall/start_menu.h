// Removal of the Start-menu folder and of single shortcuts.
#pragma once
#include <cstdint>

struct InstallerContext;

// Below the per-user and the common Programs folders: the shortcuts, then the folder
// "Quillon\QuillonOrvalo" (the "Quillon" folder stays). Failures are ignored.
void cleanStartMenu(InstallerContext* context);

// Deletes folder\name.LNK: 1 when it was deleted, else 0.
int32_t removeShortcut(const char* folder, const char* name);
