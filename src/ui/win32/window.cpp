#include "ui/win32/window.h"

#include "app/win32/probe.h"
#include "install/install.h"
#include "platform/platform.h"
#include "ui/layout.h"
#include "ui/preinstall_checks.h"
#include "ui/startup_command.h"
#include "ui/web_address.h"
#include "ui/win32/assistance.h"
#include "ui/win32/painting.h"
#include "uninstall/uninstall.h"

namespace {

constexpr const char* WINDOW_CLASS = "QuillonOrvalo0Installer0MainWindow0";
constexpr UINT_PTR TIMER_BLINK = 12347;
constexpr UINT BLINK_PERIOD_MS = 500;
constexpr int ICON_ID = 100;

InstallerContext* const context = &installerContext;

// Set once a procedure starts, before any worker does: the program ends after it, and a click
// or Enter that is still queued (after the worker has cleared busy) must not start a second
// one. It therefore also stands for busy wherever input is refused.
bool procedureStarted = false;
// A WM_DESTROY that came while a message box was open, carried out when the last one closes.
bool destroyPending = false;

bool busy() { return loadShared(context->busy) != 0; }

DWORD WINAPI workerThreadStart(LPVOID parameter) {
    return installWorker(static_cast<InstallerContext*>(parameter));
}

bool startWorkerThread() {
    storeShared(context->procedureResult, -1);
    storeShared(context->busy, 1);
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, workerThreadStart, context, 0, &id);
    context->workerThread = thread;
    context->workerThreadId = id;
    if (!thread) storeShared(context->busy, 0);
    return thread != nullptr;
}

// Waits for the worker while the window goes on answering: painting, the blink timer, the
// worker's notices; input is refused as while busy. A quit request met here is put back for
// the message loop.
void waitForWorker() {
    HANDLE worker = context->workerThread;
    if (!worker) return;
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(int(message.wParam));
                return;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        DWORD woken = MsgWaitForMultipleObjects(1, &worker, FALSE, INFINITE, QS_ALLINPUT);
        if (woken != WAIT_OBJECT_0 + 1) return;  // ended (or the wait failed)
    }
}

// For the automatic install: the procedure runs to its end while the caller waits. A worker
// that cannot start is a failed run, never the exit code 0 of success.
void runWorkerAndWait() {
    if (!startWorkerThread()) {
        storeShared(exitCode, -1);
        return;
    }
    waitForWorker();
    CloseHandle(context->workerThread);
    context->workerThread = nullptr;
}

void post(HWND window, UINT message) { PostMessageA(window, message, 0, 0); }

void showBox(HWND owner, const CommandOutcome& outcome) {
    if (!outcome.boxText) return;
    platform::showMessageBox(owner, outcome.boxText, outcome.boxCaption, outcome.boxFlags);
    if (destroyPending && platform::openMessageBoxes() == 0) {
        destroyPending = false;
        post(static_cast<HWND>(context->windowHandle), WM_DESTROY);
    }
}

// The loop ends on a quit request, which a message box's own loop would take as well and
// close the box at once, unread: so the end waits until no box is open.
void onDestroy(HWND window) {
    if (platform::openMessageBoxes() > 0) {
        destroyPending = true;
        return;
    }
    if (context->timerId) KillTimer(window, context->timerId);
    context->timerId = 0;
    releaseWindowResources(context);
    PostQuitMessage(0);
}

void requestClose(HWND window, bool afterNotice) {
    switch (closeStep(afterNotice, busy())) {
        case CloseStep::refuse:
            return;
        case CloseStep::endAfterWorker:
            waitForWorker();
            break;
        case CloseStep::end:
            break;
    }
    post(window, WM_DESTROY);
}

void buttonAction(HWND window) {
    procedureStarted = true;
    HDC dc = GetDC(window);
    drawButton(context, dc, true);
    ReleaseDC(window, dc);
    Sleep(200);
    if (context->installed == 0) {
        if (startWorkerThread()) return;  // the blink timer animates until the final notice
        CommandOutcome outcome;
        launchFailureBox(&outcome);
        showBox(window, outcome);
        post(window, WM_DESTROY);
        return;
    }
    procedureStarting(window, Procedure::uninstall);
    runUninstall(context);
    post(window, WM_DESTROY);
}

// Sizes the window so that its client area is exactly the skin and the 100-pixel band under
// it, from the window's own styles; a frame drawn other than the system says is measured and
// made up for once.
void sizeToClientArea(HWND window) {
    const LONG width = context->skinWidth, height = context->skinHeight + 100;
    RECT frame = {0, 0, width, height};
    AdjustWindowRectEx(&frame, DWORD(GetWindowLongA(window, GWL_STYLE)), FALSE,
                       DWORD(GetWindowLongA(window, GWL_EXSTYLE)));
    LONG outerWidth = frame.right - frame.left, outerHeight = frame.bottom - frame.top;
    SetWindowPos(window, nullptr, 0, 0, outerWidth, outerHeight, SWP_SHOWWINDOW | SWP_NOMOVE);
    RECT client = {};
    GetClientRect(window, &client);
    if (client.right != width || client.bottom != height)
        SetWindowPos(window, nullptr, 0, 0, outerWidth + width - client.right,
                     outerHeight + height - client.bottom, SWP_NOMOVE | SWP_NOZORDER);
}

LRESULT onCreate(HWND window) {
    context->windowHandle = window;
    platform::markWindowThread();  // the removal's waits on this thread keep it answering
    loadWindowResources(context);
    context->uninstallEntryFound = context->installed = uninstallEntryCheck();
    context->driverPresence = deviceNameScan();
    context->osCode = probeOsCode();
    ownProgramPath(context->setupPath, sizeof context->setupPath);
    vaioInterfaceProbe(context);

    if (!silentFlag) {
        sizeToClientArea(window);
        context->timerId = SetTimer(window, TIMER_BLINK, BLINK_PERIOD_MS, nullptr);
    }
    WindowCommand command = startupCommand(context);
    if (command.id) PostMessageA(window, WM_COMMAND, command.id, command.code);
    if (command.thenEnd) post(window, WM_DESTROY);
    SetFocus(window);
    return 0;
}

void onCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    CommandOutcome outcome;
    decideCommand(wParam, lParam, context, &outcome);
    if (outcome.procedure != Procedure::none) procedureStarted = true;
    commandArriving(window, wParam, lParam, outcome.procedure);
    if (outcome.openAfterInstallPage)
        openWebAddress(AFTER_INSTALL_ADDRESS, AFTER_INSTALL_ADDRESS_SIZE);
    showBox(window, outcome);
    if (outcome.setsExitCode) storeShared(exitCode, outcome.exitCode);
    if (outcome.procedure == Procedure::installAndWait) runWorkerAndWait();
    if (outcome.procedure == Procedure::uninstall) storeShared(exitCode, runUninstall(context));
    if (outcome.postClose) requestClose(window, true);
    // Notices posted before this point are handled first, each box staying until dismissed.
    if (outcome.endLoop) post(window, WM_DESTROY);
}

// The hand over whatever a click would act on, the skin and the button.
bool setHandCursor(HWND window) {
    POINT at;
    if (!GetCursorPos(&at) || !ScreenToClient(window, &at)) return false;
    if (clickTarget(context->buttonRect, context->skinHeight, at.x, at.y) == ClickTarget::nothing)
        return false;
    SetCursor(static_cast<HCURSOR>(context->handCursor));
    return true;
}

void onLeftButtonDown(HWND window, LPARAM lParam) {
    if (procedureStarted) return;
    switch (clickTarget(context->buttonRect, context->skinHeight, pointX(lParam), pointY(lParam))) {
        case ClickTarget::button:
            buttonAction(window);
            break;
        case ClickTarget::skin:
            openWebAddress(HOME_ADDRESS, HOME_ADDRESS_SIZE);
            break;
        case ClickTarget::nothing:
            break;
    }
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return onCreate(window);
        case WM_DESTROY:
            onDestroy(window);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            paintWindow(context, dc);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_ERASEBKGND:
            paintBackground(context, reinterpret_cast<HDC>(wParam));
            return 1;
        case WM_CLOSE:
            requestClose(static_cast<HWND>(context->windowHandle), false);
            return 0;
        case WM_KEYDOWN:
            // Space presses the button as Enter does.
            if ((wParam == VK_RETURN || wParam == VK_SPACE) && !procedureStarted)
                buttonAction(window);
            if (wParam == VK_ESCAPE) post(window, WM_CLOSE);
            return 0;
        case WM_TIMER:
            if (busy() && wParam == TIMER_BLINK) {
                context->blinkCounter++;
                HDC dc = GetDC(window);
                const char* label = drawBusyButton(context, dc, context->blinkCounter & 1);
                ReleaseDC(window, dc);
                busyButtonDrawn(window, label);
            }
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT && setHandCursor(window)) return TRUE;
            return DefWindowProcA(window, message, wParam, lParam);
        case WM_LBUTTONDOWN:
            onLeftButtonDown(window, lParam);
            return 0;
        case WM_COMMAND:
            onCommand(window, wParam, lParam);
            return 0;
        default:
            if (LRESULT answer = answerAssistiveMessage(window, message, wParam, lParam))
                return answer;
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

bool installerRefusesInput() { return procedureStarted; }

HWND createInstallerWindow(HINSTANCE instance, const char* title) {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(ICON_ID));
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(12);
    windowClass.lpszClassName = WINDOW_CLASS;
    CommandOutcome failure;
    if (!RegisterClassA(&windowClass)) {
        startupFailureBox(true, &failure);
        showBox(nullptr, failure);
        return nullptr;
    }
    HWND window = CreateWindowExA(
        0, WINDOW_CLASS, title,
        WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN,
        CW_USEDEFAULT, CW_USEDEFAULT, 900, 300, nullptr, nullptr, instance, nullptr);
    if (!window) {
        startupFailureBox(false, &failure);
        showBox(nullptr, failure);
        return nullptr;
    }
    if (silentFlag) {
        ShowWindow(window, SW_HIDE);
    } else {
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
    }
    return window;
}
