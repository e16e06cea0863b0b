// A library planted next to the setup program under a system library's name (SHFOLDER.DLL):
// loaded, it leaves "<its own path>.loaded" behind. The mark is written on attach, so the
// library need not answer the call that the setup program looks up in it.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        char path[MAX_PATH + 8];
        DWORD length = GetModuleFileNameA(instance, path, MAX_PATH);
        lstrcpyA(path + length, ".loaded");
        HANDLE mark = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (mark != INVALID_HANDLE_VALUE) CloseHandle(mark);
    }
    return TRUE;
}
