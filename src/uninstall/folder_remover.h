// Removal of a folder with everything below it.
#pragma once
#include <cstdint>

// Deletes the files and subfolders of folder depth first, then the folder itself. A folder
// link (junction or symbolic link) is removed as a link: what it points to is never entered.
// Always 1; whatever cannot be removed stays, and with it the folders above it.
int32_t removeFolderTree(const char* folder);
