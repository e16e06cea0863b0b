#include "uninstall/vaio_removal.h"

#include <cstdio>

#include "app/context.h"
#include "app/paths.h"

namespace {
// The blank at the end is part of the text.
constexpr const char* STILL_IN_USE_TEXT =
    "Failed to uninstall %s virtual i/o driver...\nOne or several applications are still "
    "using it\nClose all possible programs using %s\n(including control panels) and try to "
    "remove it again ";
}  // namespace

void runVaioRemoval(InstallerContext* context) {
    char program[PATH_LIMIT];
    const char* name =
        context->is64BitSystem ? "QLOrvaloVAIO_Setup_x64.exe" : "QLOrvaloVAIO_Setup.exe";
    if (!joinPath(program, context->installFolder, name) || !platform::fileExistsReadable(program))
        return;
    platform::Handle process = nullptr;
    if (platform::startProcess(program, "-h -u -H", context->installFolder, &process) !=
        platform::StartResult::started)
        return;
    platform::waitProcess(process, platform::WAIT_FOREVER);
    int32_t exitCode = -1;
    if (!platform::processExitCode(process, &exitCode)) exitCode = -1;
    platform::closeProcess(process);
    if (exitCode >= 0) return;
    snprintf(context->errorText, sizeof context->errorText, STILL_IN_USE_TEXT, PRODUCT_ID,
             PRODUCT_ID);
    platform::postCommand(context->windowHandle, CMD_DONE, DONE_FAILED);
}
