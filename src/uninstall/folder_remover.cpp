#include "uninstall/folder_remover.h"

#include "app/paths.h"
#include "platform/platform.h"

namespace {
bool removeTree(const char* folder);

// The first entry of a fresh listing that is not a folder named ".*" (those are never
// entered); false when there is none.
bool firstEntry(const char* folder, platform::FoundFile* found) {
    char pattern[PATH_LIMIT];
    if (!joinPath(pattern, folder, "*.*")) return false;
    platform::Handle search = platform::findFirstFile(pattern, found);
    if (!search) return false;
    bool taken = true;
    while (taken && found->isFolder && found->name[0] == '.')
        taken = platform::findNextFile(search, found);
    platform::findClose(search);
    return taken;
}

// Removes the first entry: true when it is gone, so that the folder is listed again.
// A subfolder that survives its own removal ends the walk just as a file that cannot be
// deleted does: the folder cannot go with it anyway, and the next listing would offer the
// same subfolder again, for ever.
bool removeFirstEntry(const char* folder) {
    platform::FoundFile found;
    char path[PATH_LIMIT];
    if (!firstEntry(folder, &found) || !joinPath(path, folder, found.name)) return false;
    return found.isFolder ? removeTree(path) : platform::deleteFile(path);
}

// True when the folder is gone.
bool removeTree(const char* folder) {
    if (!platform::isFolderLink(folder))
        while (removeFirstEntry(folder)) {
        }
    return platform::removeFolder(folder);
}
}  // namespace

int32_t removeFolderTree(const char* folder) {
    removeTree(folder);
    return 1;
}
