#include "app/system_libraries.h"

platform::ModuleHandle loadSystemLibrary(const char* name) {
    // Restricted before every load, not only at start: a load can never come first.
    platform::restrictDllSearch();
    char folder[PATH_BYTES], path[PATH_BYTES];
    uint32_t length = platform::systemFolder(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder || !joinPath(path, folder, name)) return nullptr;
    return platform::loadModule(path);
}

platform::ShellCall shellSpecialFolder(int csidl, bool create, char (&out)[PATH_BYTES]) {
    platform::ModuleHandle shell32 = loadSystemLibrary("SHELL32.DLL");
    platform::ShellCall result =
        platform::specialFolderPath(shell32, csidl, create, out, sizeof out);
    if (shell32) platform::freeModule(shell32);
    return result;
}

platform::ShellCall shfolderFolder(int csidl, char (&out)[PATH_BYTES]) {
    platform::ModuleHandle shfolder = loadSystemLibrary("SHFOLDER.DLL");
    platform::ShellCall result = platform::folderPath(shfolder, csidl, out, sizeof out);
    if (shfolder) platform::freeModule(shfolder);
    return result;
}
