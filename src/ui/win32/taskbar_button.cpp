// The progress on the window's taskbar button, through the taskbar's own object (Windows 7 and
// later). Where there is none, or no button, nothing is shown and nothing fails.
#include <windows.h>
// after windows.h, which they need
#include <objbase.h>
#include <shobjidl.h>

#include "ui/taskbar_progress.h"
#include "ui/win32/taskbar_button.h"

namespace {

UINT buttonCreated = 0;
ITaskbarList3* taskbar = nullptr;
TaskbarProgress wanted = {}, shown = {};

void apply(HWND window) {
    if (!taskbar || wanted == shown) return;
    if (wanted.state != shown.state) taskbar->SetProgressState(window, TBPFLAG(wanted.state));
    bool measured = wanted.state == ProgressState::normal || wanted.state == ProgressState::error;
    if (measured && wanted.total) taskbar->SetProgressValue(window, wanted.completed, wanted.total);
    shown = wanted;
}

void show(HWND window, const TaskbarProgress& progress) {
    wanted = progress;
    apply(window);
}

}  // namespace

// "That message must be received by your application before it calls any ITaskbarList3
// method" (ITaskbarList3, Microsoft Learn). The taskbar runs as the signed-in person, below
// this elevated program, and User Interface Privilege Isolation drops a registered message
// (above WM_USER) from a lower integrity level unless the window lets it through
// (ChangeWindowMessageFilterEx, Windows 7 and later like the taskbar's object).
void allowTaskbarButtonMessage(HWND window) {
    buttonCreated = RegisterWindowMessageW(L"TaskbarButtonCreated");
    using Filter = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    auto allow = reinterpret_cast<Filter>(
        reinterpret_cast<void*>(GetProcAddress(user32, "ChangeWindowMessageFilterEx")));
    if (allow && buttonCreated) allow(window, buttonCreated, MSGFLT_ALLOW, nullptr);
}

// A new button (also after the taskbar restarted) shows nothing until told. An elevated
// program's COM takes classes from the machine's registration only, never from the person's
// own hive ("UAC: COM Per-User Configuration", Microsoft Learn).
bool answerTaskbarButtonCreated(HWND window, UINT message) {
    if (!buttonCreated || message != buttonCreated) return false;
    if (!taskbar) {
        void* object = nullptr;
        if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                                    __uuidof(ITaskbarList3), &object)))
            return true;
        taskbar = static_cast<ITaskbarList3*>(object);
        if (FAILED(taskbar->HrInit())) {
            taskbar->Release();
            taskbar = nullptr;
            return true;
        }
    }
    shown = {};
    apply(window);
    return true;
}

void showTaskbarLabel(HWND window, const char* label) {
    show(window, progressAfterLabel(wanted, label));
}

void showTaskbarRemoval(HWND window) { show(window, REMOVAL_PROGRESS); }

void showTaskbarNotice(HWND window, int32_t code) {
    show(window, progressAfterNotice(wanted, code));
}
