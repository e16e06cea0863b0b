// WH_CBT hooks for the start-up tests (qlpoke nowindow, nothread), called as the installer's
// window is being made: one refuses it, so that the setup program meets its "Startup Error"
// path; the other lets it come but leaves the setup program no thread to start, as when
// Windows cannot give a new thread its stack.
#include <windows.h>

#include <cstring>

static bool installerWindow(int code, WPARAM wParam) {
    char name[64] = {};
    return code == HCBT_CREATEWND && GetClassNameA(reinterpret_cast<HWND>(wParam), name, 64) &&
           strcmp(name, "QuillonOrvalo0Installer0MainWindow0") == 0;
}

extern "C" __declspec(dllexport) LRESULT CALLBACK refuseInstallerWindow(int code, WPARAM wParam,
                                                                         LPARAM lParam) {
    return installerWindow(code, wParam) ? 1 : CallNextHookEx(nullptr, code, wParam, lParam);
}

static HANDLE WINAPI noThread(void*, SIZE_T, void*, void*, DWORD, DWORD*) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

// Points the program's own imports of CreateThread at noThread; the system's code keeps its own.
extern "C" __declspec(dllexport) LRESULT CALLBACK refuseWorkerThread(int code, WPARAM wParam,
                                                                      LPARAM lParam) {
    auto program = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto headers = reinterpret_cast<IMAGE_NT_HEADERS*>(
        program + reinterpret_cast<IMAGE_DOS_HEADER*>(program)->e_lfanew);
    IMAGE_DATA_DIRECTORY imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IAT];
    auto slots = reinterpret_cast<FARPROC*>(program + imports.VirtualAddress);
    FARPROC createThread = GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateThread");
    DWORD was;
    if (installerWindow(code, wParam) &&
        VirtualProtect(slots, imports.Size, PAGE_READWRITE, &was)) {
        for (DWORD n = 0; n < imports.Size / sizeof *slots; ++n)
            if (slots[n] == createThread)
                slots[n] = reinterpret_cast<FARPROC>(reinterpret_cast<void*>(noThread));
        VirtualProtect(slots, imports.Size, was, &was);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
