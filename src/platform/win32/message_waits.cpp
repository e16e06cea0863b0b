// The two halves of a wait on the window's thread: waiting for a program, for time or for a
// message (MsgWaitForMultipleObjects), and reading the messages in between.
#include <windows.h>

#include "platform/platform.h"

namespace platform {

namespace {
DWORD windowThread = 0;
constexpr int HELD_MAX = 64;

// Clicks and keys, on the window or on its frame (the close box, a drag, Alt+F4): they would
// act in the middle of the procedure, or start a modal loop that acts on the notices.
bool isInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}
}  // namespace

void markWindowThread() { windowThread = GetCurrentThreadId(); }

bool onWindowThread() { return windowThread != 0 && GetCurrentThreadId() == windowThread; }

Woken waitFor(Handle process, uint32_t ms, bool messages) {
    HANDLE handle = process;
    const DWORD count = process ? 1 : 0;
    DWORD woken;
    // Not QS_POSTMESSAGE: the posted messages that answerMessages puts back would wake it at
    // once, again and again; they are read on the next round.
    if (messages) {
        woken = MsgWaitForMultipleObjects(count, &handle, FALSE, ms,
                                          QS_SENDMESSAGE | QS_PAINT | QS_INPUT);
    } else if (process) {
        woken = WaitForSingleObject(handle, ms);
    } else {
        Sleep(ms);
        woken = WAIT_TIMEOUT;
    }
    if (woken == WAIT_TIMEOUT) return Woken::timedOut;
    if (messages && woken == WAIT_OBJECT_0 + count) return Woken::message;
    return woken == WAIT_OBJECT_0 ? Woken::ended : Woken::failed;
}

// PeekMessage answers the messages sent to the thread's windows itself, before it takes one
// from the queue. What is put back is posted anew, so no message stays unread for long.
void answerMessages() {
    MSG held[HELD_MAX], message;
    int count = 0;
    bool quit = false;
    WPARAM quitCode = 0;
    for (int taken = 0; count < HELD_MAX && taken < 4 * HELD_MAX &&
                        PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);
         ++taken) {
        if (message.message == WM_QUIT) {
            quit = true;
            quitCode = message.wParam;
        } else if (message.message == WM_PAINT || message.message == WM_TIMER) {
            DispatchMessageW(&message);
        } else if (!isInput(message.message)) {
            held[count++] = message;
        }
    }
    for (int i = 0; i < count; ++i)
        PostMessageW(held[i].hwnd, held[i].message, held[i].wParam, held[i].lParam);
    if (quit) PostQuitMessage(int(quitCode));
}

}  // namespace platform
