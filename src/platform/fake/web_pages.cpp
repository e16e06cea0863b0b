// Web pages: the desktop shell answers as the test sets it; every page it opens is logged.
#include "platform/fake/internal.h"

namespace platform {
using namespace fake;

ShellCall shellOpenAsDesktopUser(const char* address) {
    if (state().desktopShellCall != ShellCall::missing)
        log(std::string("desktop shell opens ") + address);
    return state().desktopShellCall;
}

}  // namespace platform
