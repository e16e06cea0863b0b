#include "uninstall/vaio_removal.h"

#include <cstdio>

#include "app/context.h"
#include "app/paths.h"
#include "install/vaio_component.h"
#include "install/vaio_setup.h"
#include "package/files.h"
#include "package/package.h"

namespace {
// The blank at the end is part of the text.
constexpr const char* STILL_IN_USE_TEXT =
    "Failed to uninstall %s virtual i/o driver...\nOne or several applications are still "
    "using it\nClose all possible programs using %s\n(including control panels) and try to "
    "remove it again ";
}  // namespace

bool vaioRemovalNeeded(const InstallerContext* context) {
    if (context->vaioInstalled) return true;
    // A driver that never started (the kernel refused it) has no interface, but its service
    // and its device are registered all the same: only its setup program takes them away.
    platform::Handle service = platform::regOpen(
        platform::regRoot(platform::RegRoot::localMachine), VAIO_SERVICE_KEY, platform::regRead);
    if (service) platform::regClose(service);
    return service || platform::hardwareIdHasDevice(VAIO_HARDWARE_ID);
}

void runVaioRemoval(InstallerContext* context) {
    char program[PATH_BYTES];
    int32_t exitCode = 0;
    if (!vaioProgramPath(program, sizeof program, context)) return;
    // A removal whose driver removal failed has still deleted the program with the other
    // files: the next one writes it again from its own package, or the driver stays for good.
    if (context->is64BitSystem && !platform::fileExistsReadable(program) &&
        createFolderTree(context->installFolder) == 1)
        extractPackageEntries(context, VAIO_PACKAGE_ENTRIES);
    if (!platform::fileExistsReadable(program) ||
        runToEnd(program, "-h -u -H", context->installFolder, &exitCode) !=
            platform::StartResult::started ||
        exitCode >= 0)
        return;
    snprintf(context->errorText, sizeof context->errorText, STILL_IN_USE_TEXT, PRODUCT_ID,
             PRODUCT_ID);
    platform::postCommand(context->windowHandle, CMD_DONE, DONE_FAILED);
}
