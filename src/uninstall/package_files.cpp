#include "uninstall/package_files.h"

#include <cstring>

#include "app/context.h"
#include "app/paths.h"
#include "package/entry_name.h"

namespace {
// path with the extension of its last component replaced by ".del"; false when that
// component has no extension (the file keeps its name) or the result would not fit.
bool delName(char (&out)[PATH_BYTES], const char* path) {
    const char* dot = nullptr;
    for (const char* p = path; *p; ++p) {
        if (*p == '\\' || *p == '/') dot = nullptr;
        if (*p == '.') dot = p;
    }
    size_t stem = dot ? size_t(dot - path) : 0;
    if (!dot || stem + sizeof ".del" > sizeof out) return false;
    memcpy(out, path, stem);
    memcpy(out + stem, ".del", sizeof ".del");
    return true;
}
}  // namespace

void removePackageFiles(InstallerContext* context) {
    char path[PATH_BYTES], moved[PATH_BYTES];
    for (const PackageEntry& entry : context->packageDirectory) {
        // The names come from the package: only those the extraction would write are used.
        if (!isSafeEntryName(entry.name, sizeof entry.name) ||
            !joinPath(path, context->installFolder, entry.name) || platform::deleteFile(path))
            continue;
        // The next install's sweep deletes it once it is no longer in use.
        if (delName(moved, path)) platform::moveFileNoReplace(path, moved);
    }
}
