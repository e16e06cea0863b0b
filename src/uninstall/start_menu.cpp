#include "uninstall/start_menu.h"

#include "app/context.h"
#include "app/paths.h"
#include "install/shortcuts.h"
#include "uninstall/folder_remover.h"
#include "uninstall/user_folders.h"

namespace {
constexpr const char* SHELL_FOLDERS_KEY =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr uint32_t VALUE_BUFFER = 4096, VALUE_TAKEN = 4050;

// The per-user Programs folder as Explorer records it: only a non-empty REG_SZ counts (an
// unexpanded REG_EXPAND_SZ would name the wrong folder).
bool userProgramsFolder(char (&out)[VALUE_BUFFER]) {
    platform::Handle key = platform::regOpen(platform::regRoot(platform::RegRoot::currentUser),
                                             SHELL_FOLDERS_KEY, platform::regRead);
    if (!key) return false;
    platform::RegType type = platform::RegType::none;
    uint32_t size = 0;
    bool read = platform::regQuery(key, "Programs", &type, out, sizeof out, &size);
    platform::regClose(key);
    if (!read || type != platform::RegType::string) return false;
    out[size < VALUE_TAKEN ? size : VALUE_TAKEN] = 0;  // a stored text may lack its end
    return out[0] != 0;
}

// The person's own folder: only our shortcuts go, by name, and then the folder if that left
// it empty, with the person's rights and never through a link (user_folders.h).
void cleanUserMenuFolder(const InstallerContext* context, const char* programs) {
    char group[PATH_BYTES];
    if (!joinPath(group, programs, SHORTCUT_GROUP)) return;
    platform::Handle parent = openUserFolder(group);
    platform::Handle menu = parent ? platform::openFolderIn(parent, SHORTCUT_SUBFOLDER) : nullptr;
    if (menu) {
        removeShortcutsIn(context, menu);
        platform::closeFolder(menu);  // held, it could not go
        platform::deleteIn(parent, SHORTCUT_SUBFOLDER, true);
    }
    if (parent) platform::closeFolder(parent);
}

// The all-users folder only administrators can write: everything in it goes.
void cleanCommonMenuFolder(const InstallerContext* context) {
    char folder[PATH_BYTES];
    if (!joinPath(folder, commonProgramsFolder, SHORTCUT_FOLDER)) return;
    removeShortcuts(context, folder);
    removeFolderTree(folder);
}
}  // namespace

void cleanStartMenu(InstallerContext* context) {
    char userPrograms[VALUE_BUFFER];
    if (userProgramsFolder(userPrograms))
        asPerson([&] { cleanUserMenuFolder(context, userPrograms); });
    if (commonProgramsFolder[0]) cleanCommonMenuFolder(context);
}

void removeStartupShortcut() {
    if (!startupFolder[0]) return;
    asPerson([] {
        if (platform::Handle startup = openUserFolder(startupFolder)) {
            removeShortcutIn(startup, PRODUCT_ID);
            platform::closeFolder(startup);
        }
    });
}
