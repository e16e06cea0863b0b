// The installer window as the procedures see it: commands posted to it, and message boxes.
#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/wide.h"

namespace platform {

void postCommand(WindowHandle window, uint32_t id, int32_t code) {
    PostMessageA(static_cast<HWND>(window), WM_COMMAND, id, code);
}

namespace {
int openBoxes = 0;  // main thread only
}

// A text that cannot be converted is shown empty rather than not at all: the box still asks.
int showMessageBox(WindowHandle owner, const char* text, const char* caption, uint32_t flags) {
    Wide wideText(text), wideCaption(caption);
    ++openBoxes;
    int answer = MessageBoxW(static_cast<HWND>(owner), wideText.text, wideCaption.text, flags);
    --openBoxes;
    return answer;
}

int openMessageBoxes() { return openBoxes; }

}  // namespace platform
