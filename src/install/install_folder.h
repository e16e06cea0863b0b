// Where the installed files live, and the sweep of files an earlier removal could not delete.
#pragma once
#include <cstdint>

struct InstallerContext;

// Fills installFolder with "<program files>\QL\QuillonOrvalo": 0, or -1 when no folder
// could be formed.
int32_t determineInstallFolder(InstallerContext* context);

// Deletes the files "*.del" of folder (not subfolders): the number of deletions attempted.
int32_t sweepStaleFiles(const char* folder);
