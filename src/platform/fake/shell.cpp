// Shell folders, the Windows folder and shortcuts.
#include "platform/fake/internal.h"

#include <cstring>

namespace platform {
using namespace fake;

// Both shell calls answer from the same table of folders; each can be missing or fail, for
// every folder or for one ("specialFolderPath:CSIDL", "folderPath:CSIDL"), and fails for a
// folder that does not fit.
static ShellCall shellFolder(const char* name, ShellCall call, int csidl, char* out,
                             uint32_t capacity) {
    out[0] = 0;
    auto found = state().shellFolders.find(csidl);
    if (call == ShellCall::ok && fails(name, std::to_string(csidl))) call = ShellCall::failed;
    if (call != ShellCall::ok) return call;
    if (found == state().shellFolders.end() || found->second.size() >= capacity)
        return ShellCall::failed;
    memcpy(out, found->second.c_str(), found->second.size() + 1);
    return ShellCall::ok;
}

// Asked to, the shell creates a missing folder, with the caller's rights.
ShellCall specialFolderPath(ModuleHandle shell32, int csidl, bool create, char* out,
                            uint32_t capacity) {
    ShellCall call = shell32 ? state().specialFolderCall : ShellCall::missing;
    call = shellFolder("specialFolderPath", call, csidl, out, capacity);
    if (call == ShellCall::ok && create && !folderExists(out)) {
        addFolder(out);
        log(std::string("mkdir ") + out);
    }
    return call;
}

ShellCall folderPath(ModuleHandle shfolder, int csidl, char* out, uint32_t capacity) {
    ShellCall call = shfolder ? state().folderPathCall : ShellCall::missing;
    return shellFolder("folderPath", call, csidl, out, capacity);
}

uint32_t windowsFolder(char* out, uint32_t capacity) {
    return folderText(state().windowsFolder, out, capacity);
}

int32_t saveShellLink(const char* linkPath, const char* target, const char* description,
                      const char* workingFolder) {
    if (state().shellLinkResult != 0) return state().shellLinkResult;
    if (fails("saveShellLink", linkPath)) return int32_t(0x80004005);
    std::string content = std::string(target) + "|" + description + "|" + workingFolder;
    if (!state().folders.count(lower(parentOf(linkPath)))) return int32_t(0x80070003);  // path
    state().files[lower(linkPath)] = content;
    log(std::string("link ") + linkPath + "|" + content);
    return 0;
}

}  // namespace platform
