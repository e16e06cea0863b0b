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
}  // namespace

void createShortcuts(InstallerContext* context) {
    char menuFolder[1024], target[1024];
    if (!commonProgramsFolder[0]) return;
    if (!joinPath(menuFolder, commonProgramsFolder, "Quillon\\QuillonOrvalo")) return;
    if (createFolderTree(menuFolder) != 1) return;
    for (const ShortcutRow& row : SHORTCUTS) {
        if (row.only64Bit && !context->is64BitSystem) continue;
        if (joinPath(target, context->installFolder, row.target))
            createShortcut(row.name, target, menuFolder);
    }
}

int32_t createShortcut(const char* name, const char* target, const char* folder) {
    constexpr int32_t E_INVALIDARG = int32_t(0x80070057);
    char linkName[300], linkPath[1024], workingFolder[1024];
    size_t folderLen = folderLength(target);
    if (snprintf(linkName, sizeof linkName, "%s.LNK", name) >= int(sizeof linkName) ||
        !joinPath(linkPath, folder, linkName) || folderLen >= sizeof workingFolder)
        return E_INVALIDARG;
    memcpy(workingFolder, target, folderLen);
    workingFolder[folderLen] = 0;
    return platform::saveShellLink(linkPath, target, name, workingFolder);
}
