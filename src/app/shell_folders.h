// The all-users Programs folder and the user's Startup folder, resolved once per process into
// commonProgramsFolder and startupFolder (empty when unresolved).
#pragma once

void resolveShellFolders();
// The lookup itself, every time it is called: SHGetSpecialFolderPathW (creating the
// all-users folder, never the user's), then SHFOLDER's SHGetFolderPathW for whatever that
// left empty.
void findShellFolders();
