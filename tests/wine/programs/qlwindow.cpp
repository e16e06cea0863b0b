// A stand-in top-level window for the start-up tests: qlwindow CLASS TITLE REPORT [owned].
// Writes "ready" to REPORT once the window exists and "destroyed" when it receives WM_DESTROY
// (then ends). With "owned" the titled window gets a hidden owner window.
#include <windows.h>

#include <cstdio>
#include <cstring>

static const char* reportPath;

static void report(const char* text) {
    if (FILE* file = fopen(reportPath, "w")) {
        fputs(text, file);
        fclose(file);
    }
}

static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        report("destroyed\n");
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int main(int argc, char** argv) {
    if (argc < 4) return 2;
    reportPath = argv[3];
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
    report("ready\n");
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
