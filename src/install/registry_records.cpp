#include "install/registry_records.h"

#include <cstdio>

#include "app/context.h"
#include "app/paths.h"
#include "platform/platform.h"
#include "ui/web_address.h"

namespace {
// The legacy open/create calls: whatever access this process may have, default view.
platform::Handle openOrCreate(platform::RegRoot root, const char* keyPath) {
    platform::Handle hive = platform::regRoot(root);
    platform::Handle key = platform::regOpen(hive, keyPath, platform::regLegacy);
    return key ? key : platform::regCreate(hive, keyPath, platform::regLegacy);
}

constexpr const char* SETTINGS_KEYS[] = {"Quillon\\QuillonOrvalo", "Quillon\\QuillonOrvaloZintho"};
constexpr const char* SETTINGS_VALUES[] = {"SysTray", "SysTrayShowOnRun", "EngineMode"};

// One REG_DWORD: 1, or 0 on failure.
int32_t writeDword(platform::RegRoot root, const char* keyPath, const char* valueName,
                   uint32_t value) {
    platform::Handle key = openOrCreate(root, keyPath);
    if (!key) return 0;
    bool written = platform::regSetDword(key, valueName, value);
    platform::regClose(key);
    return written ? 1 : 0;
}

int32_t writeUninstallNumber(uint32_t value, const char* valueName) {
    return writeDword(platform::RegRoot::localMachine, UNINSTALL_KEY, valueName, value);
}

// The maker's home page, which the window opens too, in the clear only while it is written.
void writeAboutAddress() {
    char address[HOME_ADDRESS_SIZE];
    if (readWebAddress(HOME_ADDRESS, HOME_ADDRESS_SIZE, address, sizeof address))
        writeUninstallValue(UNINSTALL_KEY, address, "URLInfoAbout");
    wipeWebAddress(address, sizeof address);
}

// Today, local time, as "yyyymmdd".
void formatInstallDate(char (&out)[9]) {
    platform::LocalDate today = platform::localDate();
    snprintf(out, sizeof out, "%04u%02u%02u", today.year % 10000u, today.month % 100u,
             today.day % 100u);
}
}  // namespace

int32_t writeUninstallValue(const char* keyPath, const char* text, const char* valueName) {
    platform::Handle key = openOrCreate(platform::RegRoot::localMachine, keyPath);
    if (!key) return 0;
    bool written = platform::regSetString(key, valueName, text);
    platform::regClose(key);
    return written ? 1 : 0;
}

int32_t writeZeroSetting(const char* keyPath, const char* valueName) {
    return writeDword(platform::RegRoot::currentUser, keyPath, valueName, 0);
}

uint32_t installedKilobytes(const InstallerContext* context) {
    uint64_t bytes = 0, copy = 0;
    for (const PackageEntry& entry : context->packageDirectory) bytes += entry.dataSize;
    if (platform::fileSize(startedProgram.file, &copy)) bytes += copy;
    return uint32_t((bytes + 1023) / 1024);
}

void writeUninstallEntry(const char* setupCopyPath, const char* installFolder, uint32_t sizeKb,
                         int32_t silent) {
    // Windows runs UninstallString as a command line. Quoted, a path with blanks ("Program
    // Files") names this program and nothing else: unquoted, its first word comes first
    // ("C:\Program.exe"). A path too long to quote leaves both commands out rather than
    // unquoted.
    char command[1024 + 2], quietCommand[sizeof command + 6], date[9];
    bool quoted = quotePath(command, setupCopyPath);
    snprintf(quietCommand, sizeof quietCommand, "%s -h -u", command);
    formatInstallDate(date);
    writeUninstallValue(UNINSTALL_KEY, "Quillon Orvalo, Audio Router", "DisplayName");
    writeUninstallValue(UNINSTALL_KEY, silent ? "Quillon" : "Quillon Software", "Publisher");
    if (quoted) writeUninstallValue(UNINSTALL_KEY, command, "UninstallString");
    writeUninstallValue(UNINSTALL_KEY, setupCopyPath, "DisplayIcon");
    // What deployment tools and the installed-apps list read.
    writeUninstallValue(UNINSTALL_KEY, SETUP_VERSION, "DisplayVersion");
    writeUninstallNumber(SETUP_VERSION_MAJOR, "VersionMajor");
    writeUninstallNumber(SETUP_VERSION_MINOR, "VersionMinor");
    writeUninstallValue(UNINSTALL_KEY, installFolder, "InstallLocation");
    writeUninstallNumber(sizeKb, "EstimatedSize");
    writeUninstallValue(UNINSTALL_KEY, date, "InstallDate");
    if (quoted) writeUninstallValue(UNINSTALL_KEY, quietCommand, "QuietUninstallString");
    writeUninstallNumber(1, "NoModify");  // the program can only install and remove
    writeUninstallNumber(1, "NoRepair");
    writeAboutAddress();
}

int32_t resetApplicationSettings() {
    int32_t result = 0;
    for (const char* key : SETTINGS_KEYS)
        for (const char* value : SETTINGS_VALUES) result = writeZeroSetting(key, value);
    return result;
}
