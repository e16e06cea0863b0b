// QLOrvaloVAIO_Setup_x64: installs and removes the VAIO driver component from the driver
// files in its current folder.
//   -i   install: the driver's service keys, and the driver file in the system's driver folder
//   -u   remove what -i installed
//   -h -H -n are accepted and change nothing: this program never shows anything and never
//   asks for a restart.
// Exit codes: 0 done; -1 driver files missing from the current folder; -2 a service key
// could not be written; -3 the driver file could not be copied; -4 neither -i nor -u.
// Every run is recorded under HKLM\SOFTWARE\QL\QLOrvaloVAIO_Setup (LastCommandLine,
// LastFolder) so that tests can see how it was started; tests may also force the exit code
// with the environment variable QL_TEST_VAIO_EXIT.
#include <windows.h>
#include <stdlib.h>
#include "../common/command_line.h"
#include "../common/report.h"

namespace {

enum ExitCode { DONE = 0, FILES_MISSING = -1, REGISTRY_FAILED = -2, COPY_FAILED = -3, NO_ACTION = -4 };

const char DRIVER_FILE[] = "qlorvalovaio64_win10.sys";
const char* const PACKAGE_FILES[] = {"qlorvalovaio64_win10.inf", "qlorvalovaio64_win10.cat", DRIVER_FILE};
const char IMAGE_PATH[] = "\\SystemRoot\\System32\\drivers\\qlorvalovaio64_win10.sys";
const char SERVICE_KEY[] = "SYSTEM\\CurrentControlSet\\Services\\QLOrvaloVAIO";
const char MME_SERVICE_KEY[] = "SYSTEM\\CurrentControlSet\\Services\\QLOrvaloVAIOMME";
const char RECORD_KEY[] = "SOFTWARE\\QL\\QLOrvaloVAIO_Setup";

bool setValue(HKEY key, const char* name, DWORD type, const void* data, DWORD size) {
    return RegSetValueExA(key, name, 0, type, (const BYTE*)data, size) == ERROR_SUCCESS;
}

bool setText(HKEY key, const char* name, DWORD type, const char* text) {
    return setValue(key, name, type, text, (DWORD)lstrlenA(text) + 1);
}

bool setNumber(HKEY key, const char* name, DWORD number) {
    return setValue(key, name, REG_DWORD, &number, sizeof number);
}

HKEY createKey(const char* path) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_64KEY,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

void recordRun() {
    HKEY key = createKey(RECORD_KEY);
    if (!key) return;
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof folder, folder);
    setText(key, "LastCommandLine", REG_SZ, GetCommandLineA());
    setText(key, "LastFolder", REG_SZ, folder);
    RegCloseKey(key);
}

bool forcedExitCode(int* code) {
    char text[32];
    DWORD length = GetEnvironmentVariableA("QL_TEST_VAIO_EXIT", text, sizeof text);
    if (length == 0 || length >= sizeof text) return false;
    *code = (int)strtol(text, nullptr, 10);
    return true;
}

bool packageFilesPresent() {
    for (const char* name : PACKAGE_FILES) {
        DWORD attributes = GetFileAttributesA(name);
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            reportError("QLOrvaloVAIO_Setup: %s is missing from the current folder", name);
            return false;
        }
    }
    return true;
}

bool installedDriverPath(char* path, DWORD size) {
    static const char tail[] = "\\drivers\\qlorvalovaio64_win10.sys";
    UINT length = GetSystemDirectoryA(path, size);
    if (length == 0 || length + sizeof tail > size) return false;
    lstrcpyA(path + length, tail);
    return true;
}

bool writeServiceKeys() {
    HKEY service = createKey(SERVICE_KEY);
    if (!service) return false;
    bool ok = setText(service, "ImagePath", REG_EXPAND_SZ, IMAGE_PATH) &&
              setText(service, "DisplayName", REG_SZ, "Quillon Orvalo VAIO") &&
              setNumber(service, "Type", SERVICE_KERNEL_DRIVER) &&
              setNumber(service, "Start", SERVICE_DEMAND_START) &&
              setNumber(service, "ErrorControl", SERVICE_ERROR_NORMAL);
    RegCloseKey(service);
    if (!ok) return false;

    HKEY mme = createKey(MME_SERVICE_KEY);
    if (!mme) return false;
    ok = setText(mme, "ImagePath", REG_EXPAND_SZ, IMAGE_PATH);
    RegCloseKey(mme);
    return ok;
}

int install() {
    if (!packageFilesPresent()) return FILES_MISSING;
    char target[MAX_PATH];
    if (!installedDriverPath(target, sizeof target) || !CopyFileA(DRIVER_FILE, target, FALSE)) {
        reportError("QLOrvaloVAIO_Setup: cannot copy %s to the driver folder (error %lu)", DRIVER_FILE,
                    GetLastError());
        return COPY_FAILED;
    }
    if (!writeServiceKeys()) {
        reportError("QLOrvaloVAIO_Setup: cannot write the driver's service keys (error %lu)", GetLastError());
        return REGISTRY_FAILED;
    }
    return DONE;
}

// Removal is best effort: whatever is already gone is not an error.
int uninstall() {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, MME_SERVICE_KEY);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, SERVICE_KEY);
    char target[MAX_PATH];
    if (installedDriverPath(target, sizeof target) && !DeleteFileA(target) &&
        GetLastError() != ERROR_FILE_NOT_FOUND)
        MoveFileExA(target, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);  // held open: goes at restart
    return DONE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    recordRun();
    int code;
    if (forcedExitCode(&code)) return code;

    const char* arguments = cmdline::argumentsOf(GetCommandLineA());
    if (cmdline::hasFlag(arguments, 'u')) return uninstall();
    if (cmdline::hasFlag(arguments, 'i')) return install();
    reportError("QLOrvaloVAIO_Setup: usage: QLOrvaloVAIO_Setup_x64 -i | -u [-h] [-H] [-n]");
    return NO_ACTION;
}
