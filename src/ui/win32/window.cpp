#include "ui/win32/window.h"

#include "app/win32/probe.h"
#include "install/install.h"
#include "platform/platform.h"
#include "ui/layout.h"
#include "ui/preinstall_checks.h"
#include "ui/startup_command.h"
#include "ui/web_address.h"
#include "ui/win32/painting.h"
#include "ui/win32/web_page.h"
#include "uninstall/uninstall.h"

namespace {

constexpr const char* WINDOW_CLASS = "QuillonOrvalo0Installer0MainWindow0";
constexpr UINT_PTR TIMER_BLINK = 12347;
constexpr UINT BLINK_PERIOD_MS = 500;
constexpr int ICON_ID = 100;

InstallerContext* const context = &installerContext;

DWORD WINAPI workerThreadStart(LPVOID parameter) {
    return installWorker(static_cast<InstallerContext*>(parameter));
}

bool startWorkerThread() {
    context->procedureResult = -1;
    context->busy = 1;
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, workerThreadStart, context, 0, &id);
    context->workerThread = thread;
    context->workerThreadId = id;
    return thread != nullptr;
}

// For the automatic install: the procedure runs to its end while the caller waits.
int32_t startWorkerAndWait() {
    if (!startWorkerThread()) return -1;
    WaitForSingleObject(context->workerThread, INFINITE);
    CloseHandle(context->workerThread);
    context->workerThread = nullptr;
    return context->procedureResult;
}

void post(HWND window, UINT message) { PostMessageA(window, message, 0, 0); }

void showBox(HWND owner, const CommandOutcome& outcome) {
    MessageBoxA(owner, outcome.boxText, outcome.boxCaption, outcome.boxFlags);
}

void buttonAction(HWND window) {
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
    runUninstall(context);
    post(window, WM_DESTROY);
}

struct FrameMetrics {
    int border, caption;
};

FrameMetrics frameMetrics() {
    NONCLIENTMETRICSA metrics = {};
    static_assert(sizeof metrics == 344, "the form with iPaddedBorderWidth");
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return {metrics.iBorderWidth + metrics.iPaddedBorderWidth, metrics.iCaptionHeight};
    return {GetSystemMetrics(SM_CXPADDEDBORDER) + GetSystemMetrics(SM_CXDLGFRAME),
            GetSystemMetrics(SM_CYCAPTION)};
}

LRESULT onCreate(HWND window) {
    context->windowHandle = window;
    loadWindowResources(context);
    context->uninstallEntryFound = context->installed = uninstallEntryCheck();
    context->driverPresence = deviceNameScan();
    context->osCode = probeOsCode();
    GetModuleFileNameA(static_cast<HMODULE>(context->instanceHandle), context->setupPath,
                       sizeof context->setupPath);
    vaioInterfaceProbe(context);

    FrameMetrics frame = frameMetrics();
    if (!silentFlag) {
        SetWindowPos(window, nullptr, 0, 0, context->skinWidth + 2 * frame.border,
                     context->skinHeight + 2 * frame.border + frame.caption + 100,
                     SWP_SHOWWINDOW | SWP_NOMOVE);
        context->timerId = SetTimer(window, TIMER_BLINK, BLINK_PERIOD_MS, nullptr);
    }
    WindowCommand command = startupCommand(context);
    if (command.id) PostMessageA(window, WM_COMMAND, command.id, command.code);
    SetFocus(window);
    return 0;
}

void onCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    CommandOutcome outcome;
    decideCommand(wParam, lParam, context, &outcome);
    if (outcome.openAfterInstallPage)
        openWebAddress(window, AFTER_INSTALL_ADDRESS, AFTER_INSTALL_ADDRESS_SIZE);
    if (outcome.boxText) showBox(window, outcome);
    if (outcome.setsExitCode) exitCode = outcome.exitCode;
    if (outcome.procedure == Procedure::installAndWait) startWorkerAndWait();
    if (outcome.procedure == Procedure::uninstall) exitCode = runUninstall(context);
    if (outcome.postClose) post(window, WM_CLOSE);
    if (outcome.endLoop) {
        releaseWindowResources(context);
        PostQuitMessage(0);
    }
}

void onLeftButtonDown(HWND window, LPARAM lParam) {
    if (context->busy) return;
    switch (clickTarget(context->buttonRect, context->skinHeight, pointX(lParam), pointY(lParam))) {
        case ClickTarget::button:
            buttonAction(window);
            break;
        case ClickTarget::skin:
            openWebAddress(window, HOME_ADDRESS, HOME_ADDRESS_SIZE);
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
            if (context->timerId) KillTimer(window, context->timerId);
            context->timerId = 0;
            releaseWindowResources(context);
            PostQuitMessage(0);
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
            if (!context->busy) post(static_cast<HWND>(context->windowHandle), WM_DESTROY);
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_RETURN && !context->busy) buttonAction(window);
            if (wParam == VK_ESCAPE) post(window, WM_CLOSE);
            return 0;
        case WM_TIMER:
            if (context->busy && wParam == TIMER_BLINK) {
                context->blinkCounter++;
                HDC dc = GetDC(window);
                drawBusyButton(context, dc, context->blinkCounter & 1);
                ReleaseDC(window, dc);
            }
            return 0;
        case WM_MOUSEMOVE:
            if (pointY(lParam) < context->skinHeight)
                SetCursor(static_cast<HCURSOR>(context->handCursor));
            return 0;
        case WM_LBUTTONDOWN:
            onLeftButtonDown(window, lParam);
            return 0;
        case WM_COMMAND:
            onCommand(window, wParam, lParam);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

HWND createInstallerWindow(HINSTANCE instance, const char* title) {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(ICON_ID));
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(12);
    windowClass.lpszClassName = WINDOW_CLASS;
    if (!RegisterClassA(&windowClass)) {
        MessageBoxA(nullptr, "Failed to register window class...", "Startup Error",
                    MB_ICONWARNING);
        return nullptr;
    }
    HWND window = CreateWindowExA(
        0, WINDOW_CLASS, title,
        WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN,
        CW_USEDEFAULT, CW_USEDEFAULT, 900, 300, nullptr, nullptr, instance, nullptr);
    if (!window) {
        MessageBoxA(nullptr, "Failed to create window...", "Startup Error", MB_ICONWARNING);
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
