// A stand-in top-level window for the start-up tests: qlwindow CLASS TITLE REPORT [owned|shell].
// Writes "ready" to REPORT once the window exists, and ends when it receives WM_DESTROY: a
// window the setup closed is a program that ended. With "owned" the titled window gets a
// hidden owner window. With "shell" it stands in for the person's desktop shell, which Wine
// runs elevated: it runs itself again with the unelevated half of its token (which Wine, not
// Windows, turns into a primary token), waits for that copy, whose window is the shell window.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

extern "C" BOOL WINAPI SetShellWindow(HWND);  // user32's, missing from the headers

static int runUnelevated() {
    HANDLE own, primary;
    TOKEN_LINKED_TOKEN linked;
    DWORD size;
    std::string command = std::string(GetCommandLineA()) + " unelevated";
    STARTUPINFOA start = {};
    start.cb = sizeof start;
    PROCESS_INFORMATION child;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &own) ||
        !GetTokenInformation(own, TokenLinkedToken, &linked, sizeof linked, &size) ||
        !DuplicateTokenEx(linked.LinkedToken, MAXIMUM_ALLOWED, nullptr, SecurityIdentification,
                          TokenPrimary, &primary) ||
        !CreateProcessAsUserA(primary, nullptr, command.data(), nullptr, nullptr, FALSE, 0,
                              nullptr, nullptr, &start, &child))
        return 6;
    WaitForSingleObject(child.hProcess, INFINITE);
    return 0;
}

static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

int main(int argc, char** argv) {
    if (argc < 4) return 2;
    bool shell = argc > 4 && strcmp(argv[4], "shell") == 0;
    if (shell && argc == 5) return runUnelevated();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = argv[1];
    if (!RegisterClassA(&windowClass)) return 3;
    HWND owner = nullptr;
    if (argc > 4 && strcmp(argv[4], "owned") == 0)
        owner = CreateWindowExA(0, argv[1], "owner", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                nullptr, instance, nullptr);
    HWND window = CreateWindowExA(0, argv[1], argv[2], WS_OVERLAPPED, 0, 0, 100, 50, owner,
                                  nullptr, instance, nullptr);
    if (!window || (shell && !SetShellWindow(window))) return 4;
    FILE* report = fopen(argv[3], "w");
    if (!report) return 5;
    fputs("ready\n", report);
    fclose(report);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
