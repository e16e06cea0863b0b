// The Start-menu shortcuts of the installed programs (the calling thread has COM initialised).
#pragma once
#include <cstdint>

struct InstallerContext;

// Writes the shortcuts into "<common Programs>\Quillon\QuillonOrvalo"; failures are skipped.
void createShortcuts(InstallerContext* context);

// Writes folder\name.LNK pointing at target: the HRESULT of the last COM call made.
int32_t createShortcut(const char* name, const char* target, const char* folder);
