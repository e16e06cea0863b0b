// Removal of a folder with everything below it.
#pragma once
#include <cstddef>
#include <cstdint>

// Windows' path limit for the ANSI calls (MAX_PATH, terminator included). The removal never
// forms a longer path: whatever would need one is left alone.
inline constexpr size_t PATH_LIMIT = 260;

// Deletes the files and subfolders of folder depth first, then the folder itself. A folder
// link (junction or symbolic link) is removed as a link: what it points to is never entered.
// Always 1; whatever cannot be removed stays, and with it the folders above it.
int32_t removeFolderTree(const char* folder);
