// Drives the installer window from outside, as a user would, for the end-to-end tests:
//   qlpoke origin                 prints the client area's screen position and size:
//                                 "x y width height"
//   qlpoke click X Y              left click at client coordinates
//   qlpoke key VK                 a key press (13 Enter, 27 Escape, 32 Space)
//   qlpoke close                  WM_CLOSE, as the close box sends it
//   qlpoke repaint                the whole client area to be painted again, as when the
//                                 window is uncovered
//   qlpoke box CAPTION [SECONDS] [keep]  waits for a message box ("-": any), prints
//                                 "caption|text" and presses OK (unless keep)
//   qlpoke nowindow SETUP [ARGS]  runs SETUP while qlnowindow.dll refuses its window (nothread:
//   qlpoke nothread SETUP [ARGS]  any thread that it starts itself); prints its exit code, or
//                                 259 (still running) and ends it when it has not ended within
//                                 30 seconds, as when a box holds it
//   qlpoke run COMMAND-LINE [EVENT]  runs a command line as Windows runs an uninstall entry's
//                                 UninstallString (no application name) and prints its exit
//                                 code once it has ended (2 when it did not start); with EVENT,
//                                 while an event of that name exists
//   qlpoke move FROM TO           once the installer window exists: MoveFileExA, replacing
//                                 an existing TO; exit code 1 when nothing moved
//   qlpoke swap PROGRAM ASIDE OTHER  as soon as a process of PROGRAM's file name runs (within
//                                 20 seconds), moves PROGRAM to ASIDE and copies OTHER in its
//                                 place, trying for a second; prints "swapped" or "held"
//                                 (exit code 1 when no such process came up)
//   qlpoke read                   the window as a screen reader reads it (Active
//                                 Accessibility): one line for the client area, then one per
//                                 part: "id|name, role, states|x,y wxh in the client
//                                 area|default action"
//   qlpoke press                  the button's default action
//   qlpoke taskbar                tells the window that its taskbar button is in place, as
//                                 Windows' taskbar does (Wine's does not)
//   qlpoke listen SECONDS         prints "listening", then each name or state change that the
//                                 window reports, "name|state ID" and the part as read, for
//                                 SECONDS or until the window has gone
//   qlpoke answers SECONDS        asks the window every 250 ms whether it answers, as other
//                                 programs and Windows' hang detection do: a WM_NULL sent
//                                 with a second to answer (none if hung), IsHungAppWindow,
//                                 and whether a box is up; prints "answered N of M, hung H,
//                                 boxes B"
// Exit code 0 on success, 1 when the window or box was not found in time.
#include <process.h>
#include <windows.h>
// after windows.h, which they need
#include <oleacc.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

static HWND waitFor(const char* windowClass, const char* caption, int seconds) {
    for (int tries = 0; tries < seconds * 10; ++tries, Sleep(100))
        if (HWND window = FindWindowA(windowClass, caption)) return window;
    return nullptr;
}

static bool running(const char* fileName) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    BOOL more = Process32First(snapshot, &entry);
    while (more && lstrcmpiA(entry.szExeFile, fileName) != 0)
        more = Process32Next(snapshot, &entry);
    CloseHandle(snapshot);
    return more;
}

// What malware among the person's programs can do to a setup program in their downloads
// folder: rename the running file and put another program under its name, before the setup
// holds its file.
static int swap(const char* program, const char* aside, const char* other) {
    for (DWORD start = GetTickCount(); !running(strrchr(program, '\\') + 1); Sleep(1))
        if (GetTickCount() - start > 20000) return 1;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 1000;)
        if (MoveFileA(program, aside) && CopyFileA(other, program, FALSE))
            return puts("swapped"), 0;
    return puts("held"), 0;
}

static VARIANT childId(long id) {
    VARIANT child = {};
    V_VT(&child) = VT_I4;
    V_I4(&child) = id;
    return child;
}

// As a screen reader says them: name, role, then each state.
static void printPart(IAccessible* object, long id) {
    VARIANT child = childId(id), role = {}, state = {};
    BSTR name = nullptr;
    wchar_t text[64] = {};
    object->get_accName(child, &name);
    object->get_accRole(child, &role);
    object->get_accState(child, &state);
    GetRoleTextW(DWORD(role.lVal), text, 64);
    printf("%ls, %ls", name ? name : L"", text);
    for (long bit = 1; bit > 0; bit <<= 1)
        if ((state.lVal & bit) && GetStateTextW(DWORD(bit), text, 64)) printf(", %ls", text);
}

static int readWindow(HWND window, IAccessible* client) {
    long count = 0, x = 0, y = 0, width = 0, height = 0;
    client->get_accChildCount(&count);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    for (long id = 0; id <= count; ++id) {
        BSTR action = nullptr;
        client->accLocation(&x, &y, &width, &height, childId(id));
        client->get_accDefaultAction(childId(id), &action);
        printf("%ld|", id);
        printPart(client, id);
        printf("|%ld,%ld %ldx%ld|%ls\n", x - origin.x, y - origin.y, width, height,
               action ? action : L"");
    }
    return 0;
}

static void CALLBACK changed(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG id, DWORD,
                             DWORD) {
    IAccessible* client = nullptr;
    VARIANT child = {};
    if (object != OBJID_CLIENT || event == EVENT_OBJECT_LOCATIONCHANGE ||
        AccessibleObjectFromEvent(window, object, id, &client, &child) != S_OK)
        return;
    printf("%s %ld ", event == EVENT_OBJECT_NAMECHANGE ? "name" : "state", id);
    printPart(client, id);
    printf("\n");
    fflush(stdout);
    client->Release();
}

static int listen(HWND window, int seconds) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_NAMECHANGE,
                                         nullptr, changed, process, 0, WINEVENT_OUTOFCONTEXT);
    if (!hook) return 1;
    printf("listening\n");
    fflush(stdout);
    MSG message;
    for (DWORD end = GetTickCount() + DWORD(seconds) * 1000; GetTickCount() < end;) {
        if (!IsWindow(window)) break;
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        else
            Sleep(20);
    }
    UnhookWinEvent(hook);
    return 0;
}

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const char* command = argv[1];
    if (strcmp(command, "box") == 0 && argc >= 3) {
        const char* caption = strcmp(argv[2], "-") == 0 ? nullptr : argv[2];
        HWND box = waitFor("#32770", caption, argc >= 4 ? atoi(argv[3]) : 20);
        if (!box) return 1;
        char title[512] = {}, text[2048] = {};
        // A box still being made has no texts yet (and a failed read may leave garbage).
        for (int tries = 0; tries < 50 && !IsWindowVisible(box); ++tries) Sleep(100);
        if (GetWindowTextA(box, title, sizeof title) <= 0) title[0] = 0;
        for (int tries = 0; tries < 20; ++tries, Sleep(100)) {
            if (GetWindowTextA(GetDlgItem(box, 0xFFFF), text, sizeof text) > 0) break;
            text[0] = 0;
        }
        for (char* c = text; *c; ++c)
            if (*c == '\n' || *c == '\r') *c = ' ';  // one line per box
        printf("%s|%s\n", title, text);
        if (argc < 5 || strcmp(argv[4], "keep") != 0) PostMessageA(box, WM_COMMAND, IDOK, 0);
        return 0;
    }
    if ((strcmp(command, "nowindow") == 0 || strcmp(command, "nothread") == 0) && argc >= 3) {
        HMODULE hooks = LoadLibraryA("qlnowindow.dll");
        auto refuse = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(
            hooks, command[2] == 'w' ? "refuseInstallerWindow" : "refuseWorkerThread")));
        HHOOK hook = refuse ? SetWindowsHookExA(WH_CBT, refuse, hooks, 0) : nullptr;
        if (!hook) return 2;
        // The setup finds its own path by itself: its first argument need not be that path.
        // With _P_NOWAIT, the process handle; -1 when it did not start.
        const char* arguments = argc > 3 ? argv[3] : nullptr;
        auto setup =
            reinterpret_cast<HANDLE>(_spawnl(_P_NOWAIT, argv[2], "ql", arguments, nullptr));
        if (setup == INVALID_HANDLE_VALUE) return 2;
        WaitForSingleObject(setup, 30000);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(setup, &code);
        if (code == STILL_ACTIVE) TerminateProcess(setup, 1);  // it holds this program's output
        UnhookWindowsHookEx(hook);  // the hook would outlive this program for a while
        printf("%ld\n", long(code));
        return 0;
    }
    if (strcmp(command, "swap") == 0 && argc == 5) return swap(argv[2], argv[3], argv[4]);
    if (strcmp(command, "run") == 0 && argc >= 3) {
        // Events, mutexes and the other named objects share one namespace: a name held by an
        // object of another type cannot be created or opened as a mutex (ERROR_INVALID_HANDLE;
        // learn.microsoft.com/windows/win32/sync/object-names).
        if (argc > 3) CreateEventA(nullptr, TRUE, FALSE, argv[3]);
        STARTUPINFOA startup;
        GetStartupInfoA(&startup);  // as this program was started
        PROCESS_INFORMATION process;
        if (!CreateProcessA(nullptr, argv[2], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process))
            return 2;
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        printf("%ld\n", long(code));
        return 0;
    }
    HWND window = waitFor("QuillonOrvalo0Installer0MainWindow0", nullptr, 20);
    if (!window) return 1;
    if (strcmp(command, "answers") == 0 && argc >= 3) {
        int probes = 0, answered = 0, hung = 0, boxes = 0;
        for (DWORD start = GetTickCount();
             IsWindow(window) && GetTickCount() - start < DWORD(atoi(argv[2])) * 1000; Sleep(250)) {
            DWORD_PTR result;
            ++probes;
            if (SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result))
                ++answered;
            hung += IsHungAppWindow(window) != FALSE;
            boxes += FindWindowA("#32770", nullptr) != nullptr;
        }
        printf("answered %d of %d, hung %d, boxes %d\n", answered, probes, hung, boxes);
        return 0;
    }
    if (strcmp(command, "move") == 0 && argc >= 4)
        return MoveFileExA(argv[2], argv[3], MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
    CoInitialize(nullptr);
    IAccessible* client = nullptr;
    if ((strcmp(command, "read") == 0 || strcmp(command, "press") == 0) &&
        AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                   reinterpret_cast<void**>(&client)) != S_OK)
        return 1;
    if (strcmp(command, "read") == 0) return readWindow(window, client);
    if (strcmp(command, "press") == 0) return client->accDoDefaultAction(childId(3)) != S_OK;
    if (strcmp(command, "listen") == 0 && argc >= 3) return listen(window, atoi(argv[2]));
    if (strcmp(command, "origin") == 0) {
        for (int tries = 0; tries < 50 && !IsWindowVisible(window); ++tries) Sleep(100);  // sized
        POINT origin = {0, 0};
        ClientToScreen(window, &origin);
        RECT client = {};
        GetClientRect(window, &client);
        printf("%ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);
    } else if (strcmp(command, "click") == 0 && argc >= 4) {
        LPARAM at = MAKELPARAM(atoi(argv[2]), atoi(argv[3]));
        PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(window, WM_LBUTTONUP, 0, at);
    } else if (strcmp(command, "key") == 0 && argc >= 3) {
        PostMessageA(window, WM_KEYDOWN, atoi(argv[2]), 1);
        PostMessageA(window, WM_KEYUP, atoi(argv[2]), 0xC0000001);
    } else if (strcmp(command, "taskbar") == 0) {
        SendMessageW(window, RegisterWindowMessageW(L"TaskbarButtonCreated"), 0, 0);
    } else if (strcmp(command, "close") == 0) {
        PostMessageA(window, WM_CLOSE, 0, 0);
    } else if (strcmp(command, "repaint") == 0) {
        InvalidateRect(window, nullptr, TRUE);
    } else {
        return 2;
    }
    return 0;
}
