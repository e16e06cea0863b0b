#include "package/files.h"

#include <cstring>

#include "platform/platform.h"

namespace {
bool folderExistsAfterCreate(const char* path) {
    return platform::createFolder(path) != platform::FolderResult::failed;
}
}  // namespace

int32_t createFolderTree(const char* path) {
    if (!path) return 0;
    size_t length = strlen(path);
    char folder[1024];
    if (length < 5 || length >= sizeof folder) return 0;
    memcpy(folder, path, length + 1);

    // The root ("C:\", or "\\server\share\") is never created.
    size_t i = 2;
    if (folder[i] != '\\')
        while (i < length && folder[i] != '\\') ++i;
    if (folder[0] == '\\' && folder[1] == '\\') {
        ++i;
        while (i < length && folder[i] != '\\') ++i;
        if (i >= length) return 1;
    }
    if (i >= length) return 1;

    for (++i; i < length; ++i) {
        if (folder[i] != '\\') continue;
        folder[i] = 0;
        bool exists = folderExistsAfterCreate(folder);
        folder[i] = '\\';
        if (!exists) return 0;
    }
    if (folder[length - 1] != '\\' && !folderExistsAfterCreate(folder)) return 0;
    return 1;
}

int32_t writeWholeFile(const char* path, const void* bytes, uint32_t size) {
    platform::Handle file = platform::openFileForWriting(path);
    if (!file) return 0;
    uint32_t written = 0;
    bool ok = platform::writeFileOnce(file, bytes, size, &written);
    platform::closeFile(file);
    return ok && written == size ? 1 : 0;
}
