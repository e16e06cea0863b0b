// A library planted next to the setup program under a system library's name (SHFOLDER.DLL,
// WINMM.DLL): loaded, it leaves "<its own path>.loaded" behind. The mark is written on attach,
// so the library need not answer the calls that a program looks up in it; the functions that
// a program may import from WINMM are there, answering as a system without audio devices.
#define WIN32_LEAN_AND_MEAN  // leaves out the system's own declarations of those functions
#include <windows.h>

#define EXPORTED extern "C" __declspec(dllexport) UINT WINAPI
EXPORTED waveInGetNumDevs() { return 0; }
EXPORTED waveOutGetNumDevs() { return 0; }
EXPORTED waveInGetDevCapsW(UINT_PTR, void*, UINT) { return 6; }  // MMSYSERR_NODRIVER
EXPORTED waveOutGetDevCapsW(UINT_PTR, void*, UINT) { return 6; }

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
