// Removal of a folder with everything below it.
#pragma once
#include <cstdint>

// Deletes the files and subfolders of folder depth first, then the folder itself; only for
// folders that only administrators can write. A folder link (junction or symbolic link) is
// removed as a link: what it points to is never entered. Names that end in a blank or a dot
// are left alone. Always 1; whatever cannot be removed stays, and with it the folders above.
int32_t removeFolderTree(const char* folder);
