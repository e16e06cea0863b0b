// The Start-menu shortcuts of the installed programs (the calling thread has COM initialised).
#pragma once
#include <cstdint>

#include "platform/platform.h"

struct InstallerContext;

// The shortcuts' folder below a Programs folder, and its two names.
inline constexpr const char* SHORTCUT_FOLDER = "Quillon\\QuillonOrvalo";
inline constexpr const char* SHORTCUT_GROUP = "Quillon";
inline constexpr const char* SHORTCUT_SUBFOLDER = "QuillonOrvalo";

// Writes the shortcuts into "<common Programs>\Quillon\QuillonOrvalo"; failures are skipped.
void createShortcuts(InstallerContext* context);
// Deletes from folder the shortcuts that createShortcuts writes; failures are ignored.
void removeShortcuts(const InstallerContext* context, const char* folder);
// The same through a folder of platform::openFolderIn (platform::deleteIn).
void removeShortcutsIn(const InstallerContext* context, platform::Handle folder);

// Writes folder\name.LNK pointing at target: the HRESULT of the last COM call made.
int32_t createShortcut(const char* name, const char* target, const char* folder);
// Deletes folder\name.LNK: 1 when it was deleted, else 0.
int32_t removeShortcut(const char* folder, const char* name);
// The same through an open folder; a failure is ignored.
void removeShortcutIn(platform::Handle folder, const char* name);
