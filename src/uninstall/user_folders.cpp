#include "uninstall/user_folders.h"

#include <cstring>

#include "app/paths.h"

namespace {
// A name that Windows takes as it stands: none of its separators, drive colon, wildcards or
// control characters, not "." or "..", and no blank or dot at the end (Windows drops them).
bool plainName(const char* name, size_t length) {
    if (length == 0 || name[length - 1] == ' ' || name[length - 1] == '.') return false;
    for (size_t i = 0; i < length; ++i)
        if (uint8_t(name[i]) < 0x20 || strchr("/:*?\"<>|", name[i])) return false;
    return true;
}
}  // namespace

platform::Handle openUserFolder(const char* path) {
    char drive = char(path[0] & ~0x20);
    if (drive < 'A' || drive > 'Z' || path[1] != ':' || path[2] != '\\') return nullptr;
    platform::Handle folder = platform::openDriveRoot(drive);
    for (const char* at = path + 3; folder && *at;) {
        size_t length = strcspn(at, "\\");
        char name[PATH_BYTES];
        platform::Handle next = nullptr;
        if (length < sizeof name && plainName(at, length)) {
            memcpy(name, at, length);
            name[length] = 0;
            next = platform::openFolderIn(folder, name);
        }
        platform::closeFolder(folder);
        folder = next;
        at += length + (at[length] == '\\');
    }
    return folder;
}
