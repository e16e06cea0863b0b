#include "install/registry_records.h"

#include "app/paths.h"
#include "platform/platform.h"

namespace {
// The legacy open/create calls: whatever access this process may have, default view.
platform::Handle openOrCreate(platform::RegRoot root, const char* keyPath) {
    platform::Handle hive = platform::regRoot(root);
    platform::Handle key = platform::regOpen(hive, keyPath, platform::regLegacy);
    return key ? key : platform::regCreate(hive, keyPath, platform::regLegacy);
}

constexpr const char* SETTINGS_KEYS[] = {"Quillon\\QuillonOrvalo", "Quillon\\QuillonOrvaloZintho"};
constexpr const char* SETTINGS_VALUES[] = {"SysTray", "SysTrayShowOnRun", "EngineMode"};
}  // namespace

int32_t writeUninstallValue(const char* keyPath, const char* text, const char* valueName) {
    platform::Handle key = openOrCreate(platform::RegRoot::localMachine, keyPath);
    if (!key) return 0;
    bool written = platform::regSetString(key, valueName, text);
    platform::regClose(key);
    return written ? 1 : 0;
}

int32_t writeZeroSetting(const char* keyPath, const char* valueName) {
    platform::Handle key = openOrCreate(platform::RegRoot::currentUser, keyPath);
    if (!key) return 0;
    bool written = platform::regSetDword(key, valueName, 0);
    platform::regClose(key);
    return written ? 1 : 0;
}

void writeUninstallEntry(const char* setupCopyPath, int32_t silent) {
    // Windows runs UninstallString as a command line. Quoted, a path with blanks ("Program
    // Files") names this program and nothing else: unquoted, its first word comes first
    // ("C:\Program.exe"). A path too long to quote leaves the value out rather than unquoted.
    char command[1024 + 2];
    bool quoted = quotePath(command, setupCopyPath);
    writeUninstallValue(UNINSTALL_KEY, "Quillon Orvalo, Audio Router", "DisplayName");
    writeUninstallValue(UNINSTALL_KEY, silent ? "Quillon" : "Quillon Software", "Publisher");
    if (quoted) writeUninstallValue(UNINSTALL_KEY, command, "UninstallString");
    writeUninstallValue(UNINSTALL_KEY, setupCopyPath, "DisplayIcon");
}

int32_t resetApplicationSettings() {
    int32_t result = 0;
    for (const char* key : SETTINGS_KEYS)
        for (const char* value : SETTINGS_VALUES) result = writeZeroSetting(key, value);
    return result;
}
