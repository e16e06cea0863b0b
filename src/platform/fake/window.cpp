// The window as the procedures see it: posted commands and boxes, logged.
#include "platform/fake/internal.h"

namespace platform {
using namespace fake;

void postCommand(WindowHandle, uint32_t id, int32_t code) {
    log("post " + std::to_string(id) + " " + std::to_string(code));
}

int showMessageBox(WindowHandle, const char* text, const char* caption, uint32_t) {
    log(std::string("box ") + caption + "|" + text);
    return state().messageBoxAnswer;
}

int openMessageBoxes() { return 0; }  // a fake box is answered at once

}  // namespace platform
