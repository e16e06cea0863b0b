#include "app/shell_folders.h"

#include "app/context.h"
#include "app/system_libraries.h"

namespace {
bool resolved = false;

struct Folder {
    int csidl;
    char (&out)[PATH_BYTES];
};
}  // namespace

void resolveShellFolders() {
    if (resolved) return;
    resolved = true;
    findShellFolders();
}

void findShellFolders() {
    const Folder folders[] = {{platform::CSIDL_COMMON_PROGRAMS_FOLDER, commonProgramsFolder},
                              {platform::CSIDL_STARTUP_FOLDER, startupFolder}};
    bool needFallback = false;
    for (const Folder& folder : folders)
        if (shellSpecialFolder(folder.csidl, true, folder.out) != platform::ShellCall::ok)
            needFallback = true;
    if (!needFallback) return;
    // Older shells: SHFOLDER's call, for the folders still missing.
    for (const Folder& folder : folders)
        if (!folder.out[0]) shfolderFolder(folder.csidl, folder.out);
}
