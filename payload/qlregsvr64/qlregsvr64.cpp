// qlregsvr64: registers or unregisters a 64-bit COM in-process module on behalf of the
// 32-bit setup program, which cannot load 64-bit modules itself.
//   qlregsvr64.exe -f<module path>        calls the module's DllRegisterServer
//   qlregsvr64.exe -u -f<module path>     calls its DllUnregisterServer
// Exit code 0 on success; otherwise non-zero, with the reason on standard error.
#include <windows.h>
#include "../common/command_line.h"
#include "../common/library_search.h"
#include "../common/report.h"

namespace {

enum ExitCode { OK = 0, BAD_ARGUMENTS = 1, MODULE_NOT_LOADED = 2, ENTRY_MISSING = 3, CALL_FAILED = 4 };

typedef HRESULT(STDAPICALLTYPE* RegistrationEntry)();

int callEntry(const char* modulePath, const char* entryName, bool searchRestricted) {
    // The module's own folder resolves its dependencies, then the system folder. The
    // LOAD_LIBRARY_SEARCH_* flags leave out the current folder and the PATH, which the altered
    // search path would still look in; they cannot be combined with it, and where the system
    // does not know them (nothing restricted the search) only the altered search path is left.
    DWORD flags = searchRestricted
                      ? LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32
                      : LOAD_WITH_ALTERED_SEARCH_PATH;
    HMODULE module = LoadLibraryExA(modulePath, nullptr, flags);
    if (!module) {
        reportError("qlregsvr64: cannot load \"%s\" (error %lu)", modulePath, GetLastError());
        return MODULE_NOT_LOADED;
    }
    int code = OK;
    RegistrationEntry entry = (RegistrationEntry)(void*)GetProcAddress(module, entryName);
    if (!entry) {
        reportError("qlregsvr64: \"%s\" has no entry point %s", modulePath, entryName);
        code = ENTRY_MISSING;
    } else {
        HRESULT result = entry();
        if (result != S_OK) {
            reportError("qlregsvr64: %s of \"%s\" failed with 0x%08lX", entryName, modulePath,
                        (unsigned long)result);
            code = CALL_FAILED;
        }
    }
    FreeLibrary(module);
    return code;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    bool searchRestricted = restrictLibrarySearch();  // before anything is loaded
    const char* arguments = cmdline::argumentsOf(GetCommandLineA());
    char modulePath[MAX_PATH];
    if (!cmdline::optionValue(arguments, 'f', modulePath, sizeof modulePath)) {
        reportError("qlregsvr64: usage: qlregsvr64 [-u] -f<module path>");
        return BAD_ARGUMENTS;
    }
    // Only options in front of -f count: everything after it is the path.
    bool unregister = cmdline::hasFlag(arguments, 'u', cmdline::findOption(arguments, 'f', false));

    HRESULT com = CoInitialize(nullptr);
    int code = callEntry(modulePath, unregister ? "DllUnregisterServer" : "DllRegisterServer",
                         searchRestricted);
    if (SUCCEEDED(com)) CoUninitialize();
    return code;
}
