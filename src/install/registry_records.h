// The uninstall entry (HKLM, no view flag: the 32-bit view on 64-bit Windows) and the
// per-user application settings. Every value is written on its own; callers ignore failures.
#pragma once
#include <cstdint>

struct InstallerContext;

inline constexpr const char* UNINSTALL_KEY =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QL:QuillonOrvalo "
    "{45CF77f2-4E06-4A39}";

// One REG_SZ under HKEY_LOCAL_MACHINE: 1, or 0 on failure.
int32_t writeUninstallValue(const char* keyPath, const char* text, const char* valueName);
// One REG_DWORD 0 under HKEY_CURRENT_USER: 1, or 0 on failure.
int32_t writeZeroSetting(const char* keyPath, const char* valueName);

// What the install wrote, for EstimatedSize: the packaged files and the setup copy (the
// started program byte for byte), in kilobytes rounded up.
uint32_t installedKilobytes(const InstallerContext* context);
// DisplayName, Publisher (by silent mode), UninstallString (the path in quotes) and
// DisplayIcon (the plain path); then the version (DisplayVersion, VersionMajor, VersionMinor),
// InstallLocation, EstimatedSize (sizeKb), InstallDate (today, "yyyymmdd"),
// QuietUninstallString (the quoted path with "-h -u"), NoModify and NoRepair (1) and
// URLInfoAbout (the maker's home page).
void writeUninstallEntry(const char* setupCopyPath, const char* installFolder, uint32_t sizeKb,
                         int32_t silent);
// The six settings set to 0: the result of the last write.
int32_t resetApplicationSettings();
