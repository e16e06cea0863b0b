// The entry point: flags, single instance, closing running copies of the application and of
// the VAIO control panel, the process set-up, the window and its message loop, and the
// teardown in a fixed order.
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <cstring>

#include "app/context.h"
#include "app/flags.h"
#include "app/shell_folders.h"
#include "app/system_libraries.h"
#include "app/win32/probe.h"
#include "devices/inventory.h"
#include "install/setup_copy.h"
#include "ui/win32/window.h"

InstallerContext installerContext;

namespace {

constexpr const char* MUTEX_NAME =
    "QuillonOrvalo-Installation- Mutex-{ED9D5711-5CE4-4de2-97CB-70D165F565D3}";
constexpr const char* APPLICATION_WINDOW_CLASS = "QUILLON0Orvalo0MainWindow0";
constexpr const wchar_t* CONTROL_PANEL_TITLE = L"Quillon Orvalo VAIO";
// Neither a class nor a window exists after a "Startup Error" box: the program ends at once,
// through the usual teardown, with this code.
constexpr int32_t STARTUP_ERROR_EXIT = -5;

using InternalGetWindowTextFunction = int(WINAPI*)(HWND, LPWSTR, int);
InternalGetWindowTextFunction internalGetWindowText = nullptr;

// The application's main window, found by its class and a narrow title prefix.
BOOL CALLBACK closeApplicationWindow(HWND window, LPARAM prefixParameter) {
    const char* prefix = reinterpret_cast<const char*>(prefixParameter);
    char text[512] = {};
    GetClassNameA(window, text, sizeof text);
    if (strcmp(text, APPLICATION_WINDOW_CLASS) != 0) return TRUE;
    text[0] = 0;
    GetWindowTextA(window, text, sizeof text);
    if (strncmp(text, prefix, strlen(prefix)) == 0) PostMessageA(window, WM_DESTROY, 0, 0);
    return TRUE;
}

// The control panel, found among unowned windows by its UTF-16 title prefix.
BOOL CALLBACK closeControlPanel(HWND window, LPARAM prefixParameter) {
    const wchar_t* prefix = reinterpret_cast<const wchar_t*>(prefixParameter);
    if (GetWindow(window, GW_OWNER)) return TRUE;
    wchar_t title[512] = {};
    internalGetWindowText(window, title, 512);
    if (wcsncmp(title, prefix, wcslen(prefix)) == 0) PostMessageA(window, WM_DESTROY, 0, 0);
    return TRUE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    // First of all: whatever is loaded by name from now on, by this program or by the system
    // code that it calls, comes from the system folder, never from the program's own folder.
    platform::restrictDllSearch();
    // And the program's own file is held from now on: the folder it runs from is usually open
    // to the user's other programs, which must not rename or replace it under the setup.
    char ownPath[sizeof installerContext.setupPath];
    if (ownProgramPath(ownPath, sizeof ownPath)) openStartedProgram(ownPath);
    parseCommandLine(commandLine);

    // Fails when any program, the person's too, holds the name with an event or another kind
    // of object: they share one namespace (learn.microsoft.com/windows/win32/sync/object-names).
    HANDLE mutex = CreateMutexA(nullptr, TRUE, MUTEX_NAME);
    if (!mutex) return -1;
    if (GetLastError() == ERROR_ALREADY_EXISTS) return -10;  // the handle goes with the process
    WaitForSingleObject(mutex, INFINITE);

    HMODULE user32 = static_cast<HMODULE>(loadSystemLibrary("User32.dll"));
    if (user32)
        internalGetWindowText = reinterpret_cast<InternalGetWindowTextFunction>(
            reinterpret_cast<void*>(GetProcAddress(user32, "InternalGetWindowText")));
    HRESULT com = CoInitialize(nullptr);
    initInventory();

    EnumWindows(closeApplicationWindow, reinterpret_cast<LPARAM>(PRODUCT_ID));
    EnumWindows(closeApplicationWindow, reinterpret_cast<LPARAM>(PRODUCT_NAME));
    if (internalGetWindowText)
        EnumWindows(closeControlPanel, reinterpret_cast<LPARAM>(CONTROL_PANEL_TITLE));

    resolveShellFolders();
    memset(&installerContext, 0, sizeof installerContext);
    installerContext.instanceHandle = instance;
    installerContext.is64BitSystem = detect64BitSystem();

    char title[128];
    snprintf(title, sizeof title, "%s Installation (Version %s)", PRODUCT_ID, SETUP_VERSION);
    if (createInstallerWindow(instance, title)) {
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    } else {
        exitCode = STARTUP_ERROR_EXIT;
    }

    ReleaseMutex(mutex);
    CloseHandle(mutex);
    closeInventory();
    if (com == S_OK) CoUninitialize();
    if (user32) FreeLibrary(user32);
    return exitCode;
}
