// Web pages: the desktop shell answers as the test sets it; every page asked for is logged.
#include "platform/fake/internal.h"

namespace platform {
using namespace fake;

ShellCall shellOpenAsDesktopUser(const char* address) {
    if (state().desktopShellCall != ShellCall::missing)
        log(std::string("desktop shell opens ") + address);
    return state().desktopShellCall;
}

void shellOpen(WindowHandle, const char* address) { log(std::string("open ") + address); }

}  // namespace platform
