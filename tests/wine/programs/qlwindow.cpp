// A stand-in top-level window for the start-up tests: qlwindow CLASS TITLE REPORT [owned].
// Writes "ready" to REPORT once the window exists, and ends when it receives WM_DESTROY: a
// window the setup closed is a program that ended. With "owned" the titled window gets a
// hidden owner window.
#include <windows.h>

#include <cstdio>
#include <cstring>

static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

int main(int argc, char** argv) {
    if (argc < 4) return 2;
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
    if (!CreateWindowExA(0, argv[1], argv[2], WS_OVERLAPPED, 0, 0, 100, 50, owner, nullptr,
                         instance, nullptr))
        return 4;
    FILE* report = fopen(argv[3], "w");
    if (!report) return 5;
    fputs("ready\n", report);
    fclose(report);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
