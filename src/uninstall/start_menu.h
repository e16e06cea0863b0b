// Removal of the Start-menu folder.
#pragma once

struct InstallerContext;

// Below the per-user and the common Programs folders: the shortcuts, then the folder
// "Quillon\QuillonOrvalo" (the "Quillon" folder stays). Failures are ignored.
void cleanStartMenu(InstallerContext* context);
