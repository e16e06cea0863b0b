#include "install/install_folder.h"

#include <cstring>

#include "app/context.h"
#include "app/paths.h"
#include "app/system_libraries.h"

namespace {
constexpr uint32_t WINDOWS_FOLDER_MAX = 2000;

// "X:\Program Files\" on the drive of the Windows folder; "C:" when that folder cannot be
// read whole or names no drive.
void programFilesFromWindowsFolder(char (&out)[1024]) {
    static constexpr char TAIL[] = "\\Program Files\\";
    char windows[WINDOWS_FOLDER_MAX + 1] = "";
    uint32_t length = platform::windowsFolder(windows, WINDOWS_FOLDER_MAX);
    const char* colon = length == strlen(windows) ? strchr(windows, ':') : nullptr;
    size_t drive = colon ? size_t(colon - windows) + 1 : 0;
    if (drive == 0 || drive + sizeof TAIL > sizeof out) {
        strcpy(windows, "C:");
        drive = 2;
    }
    memcpy(out, windows, drive);
    strcpy(out + drive, TAIL);
}
}  // namespace

// Each fallback runs only when the one before it left the folder empty; the last one always
// gives a folder.
int32_t determineInstallFolder(InstallerContext* context) {
    char(&folder)[1024] = context->installFolder;
    char shell[PATH_BYTES];
    folder[0] = 0;
    if (shellSpecialFolder(platform::CSIDL_PROGRAM_FILES_FOLDER, false, shell) ==
        platform::ShellCall::ok)
        copyText(folder, shell);
    if (!folder[0] &&
        shfolderFolder(platform::CSIDL_PROGRAM_FILES_FOLDER, shell) == platform::ShellCall::ok)
        copyText(folder, shell);
    if (!folder[0]) programFilesFromWindowsFolder(folder);
    return joinPath(folder, folder, "QL\\QuillonOrvalo") ? 0 : -1;
}

int32_t sweepStaleFiles(const char* folder) {
    char pattern[1024], path[1024];
    if (!joinPath(pattern, folder, "*.del")) return 0;
    platform::FoundFile found;
    platform::Handle search = platform::findFirstFile(pattern, &found);
    if (!search) return 0;
    int32_t count = 0;
    do {
        if (found.isFolder) continue;
        if (joinPath(path, folder, found.name)) platform::deleteFile(path);
        ++count;
    } while (platform::findNextFile(search, &found));
    platform::findClose(search);
    return count;
}
