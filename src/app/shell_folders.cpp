#include "app/shell_folders.h"

#include <cstring>

#include "app/context.h"
#include "app/system_libraries.h"

namespace {
bool resolved = false;

struct Folder {
    int csidl;
    char* out;
    // Only the all-users folder, which only administrators write, may be created: the user's
    // Startup folder is wherever the person's own hive says, and a missing one has nothing of
    // ours to remove.
    bool create;
};

void store(char* out, const char (&path)[260]) {
    strncpy(out, path, 511);
    out[511] = 0;
}
}  // namespace

void resolveShellFolders() {
    if (resolved) return;
    resolved = true;
    findShellFolders();
}

void findShellFolders() {
    const Folder folders[] = {
        {platform::CSIDL_COMMON_PROGRAMS_FOLDER, commonProgramsFolder, true},
        {platform::CSIDL_STARTUP_FOLDER, startupFolder, false}};
    bool needFallback = false;
    for (const Folder& folder : folders) {
        char path[260];
        platform::ShellCall call = shellSpecialFolder(folder.csidl, folder.create, path);
        folder.out[0] = 0;
        if (call == platform::ShellCall::ok) store(folder.out, path);
        else needFallback = true;
    }
    if (!needFallback) return;
    // Older shells: SHFOLDER's call, for the folders still missing.
    for (const Folder& folder : folders) {
        if (folder.out[0]) continue;
        char path[260];
        if (shfolderFolder(folder.csidl, path) == platform::ShellCall::ok)
            store(folder.out, path);
    }
}
