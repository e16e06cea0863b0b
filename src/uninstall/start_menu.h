// Removal of the Start-menu folder.
#pragma once

struct InstallerContext;

// Below the per-user and the common Programs folders: the shortcuts, then the folder
// "Quillon\QuillonOrvalo" (the "Quillon" folder stays): the common one with all it holds, the
// per-user one only when nothing else is left in it, as the person and never through a link.
// Failures are ignored.
void cleanStartMenu(InstallerContext* context);
// The autostart shortcut in the person's Startup folder, likewise.
void removeStartupShortcut();
