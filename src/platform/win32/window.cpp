// The installer window as the procedures see it: commands posted to it, and message boxes.
#include <windows.h>

#include "platform/platform.h"

namespace platform {

void postCommand(WindowHandle window, uint32_t id, int32_t code) {
    PostMessageA(static_cast<HWND>(window), WM_COMMAND, id, code);
}

namespace {
int openBoxes = 0;  // main thread only
}

int showMessageBox(WindowHandle owner, const char* text, const char* caption, uint32_t flags) {
    ++openBoxes;
    int answer = MessageBoxA(static_cast<HWND>(owner), text, caption, flags);
    --openBoxes;
    return answer;
}

int openMessageBoxes() { return openBoxes; }

}  // namespace platform
