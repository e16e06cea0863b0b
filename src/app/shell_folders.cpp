#include "app/shell_folders.h"

#include "app/context.h"
#include "app/system_libraries.h"

namespace {
bool resolved = false;

struct Folder {
    int csidl;
    char (&out)[PATH_BYTES];
    // Only the all-users folder, which only administrators write, may be created: the user's
    // Startup folder is wherever the person's own hive says, and a missing one has nothing of
    // ours to remove.
    bool create;
};
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
    for (const Folder& folder : folders)
        if (shellSpecialFolder(folder.csidl, folder.create, folder.out) != platform::ShellCall::ok)
            needFallback = true;
    if (!needFallback) return;
    // Older shells: SHFOLDER's call, for the folders still missing.
    for (const Folder& folder : folders)
        if (!folder.out[0]) shfolderFolder(folder.csidl, folder.out);
}
