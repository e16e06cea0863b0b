#include "install/shortcuts.h"

#include <cstdio>
#include <cstring>

#include "app/context.h"
#include "app/paths.h"
#include "package/files.h"

namespace {
struct ShortcutRow {
    const char* name;  // also the description
    const char* target;
    bool only64Bit;
};
constexpr ShortcutRow SHORTCUTS[] = {
    {"Readme", "readme.txt", false},
    {"QuillonOrvalo", "QuillonOrvalo.exe", false},
    {"QuillonOrvalo x64", "QuillonOrvalo_x64.exe", true},
    {"Nalta-Screen", "NaltaScreen.exe", false},
};

bool listed(const ShortcutRow& row, const InstallerContext* context) {
    return !row.only64Bit || context->is64BitSystem;
}

// name.LNK; false when it would not fit.
bool linkName(char (&out)[300], const char* name) {
    return snprintf(out, sizeof out, "%s.LNK", name) < int(sizeof out);
}

// folder\name.LNK; false when it would not fit in capacity.
bool linkPath(char* out, size_t capacity, const char* folder, const char* name) {
    char link[300];
    return linkName(link, name) && joinPath(out, capacity, folder, link);
}
}  // namespace

void createShortcuts(InstallerContext* context) {
    char menuFolder[1024], target[1024];
    if (!commonProgramsFolder[0]) return;
    if (!joinPath(menuFolder, commonProgramsFolder, SHORTCUT_FOLDER)) return;
    if (createFolderTree(menuFolder) != 1) return;
    for (const ShortcutRow& row : SHORTCUTS) {
        if (listed(row, context) && joinPath(target, context->installFolder, row.target))
            createShortcut(row.name, target, menuFolder);
    }
}

int32_t createShortcut(const char* name, const char* target, const char* folder) {
    constexpr int32_t E_INVALIDARG = int32_t(0x80070057);
    char link[1024], workingFolder[1024];
    size_t folderLen = folderLength(target);
    if (!linkPath(link, sizeof link, folder, name) || folderLen >= sizeof workingFolder)
        return E_INVALIDARG;
    memcpy(workingFolder, target, folderLen);
    workingFolder[folderLen] = 0;
    return platform::saveShellLink(link, target, name, workingFolder);
}

void removeShortcuts(const InstallerContext* context, const char* folder) {
    for (const ShortcutRow& row : SHORTCUTS)
        if (listed(row, context)) removeShortcut(folder, row.name);
}

int32_t removeShortcut(const char* folder, const char* name) {
    char link[PATH_BYTES];
    return linkPath(link, sizeof link, folder, name) && platform::deleteFile(link) ? 1 : 0;
}

void removeShortcutsIn(const InstallerContext* context, platform::Handle folder) {
    for (const ShortcutRow& row : SHORTCUTS)
        if (listed(row, context)) removeShortcutIn(folder, row.name);
}

void removeShortcutIn(platform::Handle folder, const char* name) {
    char link[300];
    if (linkName(link, name)) platform::deleteIn(folder, link, false);
}
