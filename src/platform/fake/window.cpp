// The window as the procedures see it: posted commands and boxes, logged; the thread that
// serves it, and when that thread read its messages.
#include "platform/fake/internal.h"

#include <cstdio>

namespace platform {
using namespace fake;

void postCommand(WindowHandle, uint32_t id, int32_t code) {
    log("post " + std::to_string(id) + " " + std::to_string(code));
}

// What Windows would show: caption, text, the buttons, icon and modality, and the owner.
int showMessageBox(WindowHandle owner, const char* text, const char* caption, uint32_t flags) {
    char shown[48];
    snprintf(shown, sizeof shown, "|flags 0x%X, owner %p", flags, owner);
    log(std::string("box ") + caption + "|" + text + shown);
    return state().messageBoxAnswer;
}

int openMessageBoxes() { return 0; }  // a fake box is answered at once

void markWindowThread() {
    state().windowThread = std::this_thread::get_id();
    state().messagesReadAtMs = state().clockMs;
}
bool onWindowThread() { return state().windowThread == std::this_thread::get_id(); }
void answerMessages() { state().messagesReadAtMs = state().clockMs; }

}  // namespace platform
