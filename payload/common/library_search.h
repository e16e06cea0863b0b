// The package's programs run elevated, started by the setup program: libraries that they, or
// the system code that they call, load by bare name come from the system folder only, never
// from the current folder or the PATH. SetDefaultDllDirectories is looked up at run time, since
// older systems lack it; there the classic search order stays.
#pragma once
#include <windows.h>

// True when the search is restricted, and so the LOAD_LIBRARY_SEARCH_* flags are understood.
inline bool restrictLibrarySearch() {
    typedef BOOL(WINAPI * SetDefaultDllDirectoriesFunction)(DWORD);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    SetDefaultDllDirectoriesFunction setDefault =
        kernel ? (SetDefaultDllDirectoriesFunction)(void*)GetProcAddress(
                     kernel, "SetDefaultDllDirectories")
               : nullptr;
    return setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
}
