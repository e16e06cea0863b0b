// A WH_CBT hook for the start-up tests (qlpoke nowindow): it refuses the creation of the
// installer's window, so that the setup program meets its "Startup Error" path.
#include <windows.h>

#include <cstring>

extern "C" __declspec(dllexport) LRESULT CALLBACK refuseInstallerWindow(int code, WPARAM wParam,
                                                                         LPARAM lParam) {
    char name[64] = {};
    HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_CREATEWND && GetClassNameA(window, name, sizeof name) &&
        strcmp(name, "QuillonOrvalo0Installer0MainWindow0") == 0)
        return 1;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
