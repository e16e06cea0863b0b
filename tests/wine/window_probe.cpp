// Test probe for the windowed payload programs, built by e2e_helpers.sh:
//   window_probe <program> <window class> <window title>
// Starts the program, waits for its top-level window of that class and exact title, posts it
// WM_DESTROY the way the setup program closes running copies, and expects the program to end
// with exit code 0 soon after. Prints the first failed step and exits 1.
#include <windows.h>
#include <stdio.h>

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(argv[1], nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        printf("FAILED: cannot start %s (%lu)\n", argv[1], GetLastError());
        return 1;
    }
    HWND window = nullptr;
    for (int i = 0; i < 100 && !window; ++i) {
        window = FindWindowA(argv[2], argv[3]);
        if (!window) Sleep(100);
    }
    int result = 0;
    DWORD exitCode = 1;
    if (!window) {
        printf("FAILED: no window of class \"%s\" titled \"%s\"\n", argv[2], argv[3]);
        TerminateProcess(process.hProcess, 1);
        result = 1;
    } else if (!PostMessageA(window, WM_DESTROY, 0, 0) ||
               WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        printf("FAILED: still running after WM_DESTROY\n");
        TerminateProcess(process.hProcess, 1);
        result = 1;
    } else if (!GetExitCodeProcess(process.hProcess, &exitCode) || exitCode != 0) {
        printf("FAILED: ended with exit code %lu\n", exitCode);
        result = 1;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}
