#include "install/vaio_setup.h"

#include "app/context.h"
#include "app/paths.h"

namespace {
// The program decides where the driver goes; we only read its verdict.
int32_t verdict(InstallerContext* context, int32_t exitCode) {
    const char* text = nullptr;
    int32_t result = 0;
    if (exitCode < 0) {
        text = "Failed to install virtual i/o driver...\nCheck running setup in administrator mode";
        result = VAIO_SETUP_FAILED;
    } else if (exitCode == 1) {
        text =
            "Cannot install Package now...\nYou must RESTART your system and then relaunch "
            "setup program";
        result = VAIO_RESTART_REQUIRED;
    }
    if (text) {
        copyText(context->errorText, text);
        platform::postCommand(context->windowHandle, CMD_DONE, DONE_FAILED);
    }
    return result;
}
}  // namespace

int32_t runVaioSetup(InstallerContext* context) {
    char program[1024];
    if (!vaioProgramPath(program, sizeof program, context)) return VAIO_NOT_STARTED;
    int32_t exitCode = -1;
    switch (runToEnd(program, "-h -i -H -n", context->installFolder, &exitCode)) {
        case platform::StartResult::failed: return VAIO_NOT_STARTED;
        case platform::StartResult::noHandle: return VAIO_NO_PROCESS_HANDLE;
        case platform::StartResult::started: break;
    }
    return verdict(context, exitCode);
}

bool vaioProgramPath(char* out, size_t capacity, const InstallerContext* context) {
    const char* name =
        context->is64BitSystem ? "QLOrvaloVAIO_Setup_x64.exe" : "QLOrvaloVAIO_Setup.exe";
    return joinPath(out, capacity, context->installFolder, name);
}

platform::StartResult runToEnd(const char* program, const char* arguments, const char* folder,
                               int32_t* exitCode) {
    platform::Handle process = nullptr;
    platform::StartResult started = platform::startProcess(program, arguments, folder, &process);
    if (started != platform::StartResult::started) return started;
    // A failed wait is a failed run: the exit code would still read STILL_ACTIVE (259).
    if (!platform::waitProcess(process, platform::WAIT_FOREVER) ||
        !platform::processExitCode(process, exitCode))
        *exitCode = -1;
    platform::closeProcess(process);
    return started;
}
