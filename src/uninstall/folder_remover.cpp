#include "uninstall/folder_remover.h"

#include <cstring>

#include "app/paths.h"
#include "platform/platform.h"

namespace {
bool removeTree(const char* folder);

// Entries never taken: folders named ".*", and any name that ends in a blank or a dot, since
// Windows drops those from a path's last name, so that a check and a delete made through
// such a path would meet another entry than the one listed.
bool leftAlone(const platform::FoundFile& found) {
    size_t length = strlen(found.name);
    return (found.isFolder && found.name[0] == '.') || length == 0 ||
           found.name[length - 1] == ' ' || found.name[length - 1] == '.';
}

// The first entry of a fresh listing that is not left alone; false when there is none.
bool firstEntry(const char* folder, platform::FoundFile* found) {
    char pattern[PATH_BYTES];
    if (!joinPath(pattern, folder, "*.*")) return false;
    platform::Handle search = platform::findFirstFile(pattern, found);
    if (!search) return false;
    bool taken = true;
    while (taken && leftAlone(*found)) taken = platform::findNextFile(search, found);
    platform::findClose(search);
    return taken;
}

// Removes the first entry: true when it is gone, so that the folder is listed again.
// A subfolder that survives its own removal ends the walk just as a file that cannot be
// deleted does: the folder cannot go with it anyway, and the next listing would offer the
// same subfolder again, for ever.
bool removeFirstEntry(const char* folder) {
    platform::FoundFile found;
    char path[PATH_BYTES];
    if (!firstEntry(folder, &found) || !joinPath(path, folder, found.name)) return false;
    return found.isFolder ? removeTree(path) : platform::deleteFile(path);
}

// True when the folder is gone. The folder is held while the walk works inside it, so that
// it cannot be swapped for a link once it has been found to be none; a link is not entered.
bool removeTree(const char* folder) {
    bool isLink = true;
    platform::Handle held = platform::holdFolder(folder, &isLink);
    if (held && !isLink)
        while (removeFirstEntry(folder)) {
        }
    if (held) platform::releaseFolder(held);
    return platform::removeFolder(folder);
}
}  // namespace

void removeFolderTree(const char* folder) { removeTree(folder); }
