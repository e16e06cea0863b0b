#include "install/install.h"

#include <cstdio>

#include "app/context.h"
#include "app/paths.h"
#include "app/status_label.h"
#include "endpoints/vaio_configuration.h"
#include "install/asio_modules.h"
#include "install/install_folder.h"
#include "install/registry_records.h"
#include "install/setup_copy.h"
#include "install/shortcuts.h"
#include "install/vaio_setup.h"
#include "package/files.h"
#include "package/package.h"

namespace {
constexpr const char* CORRUPT_PACKAGE_TEXT =
    "Installation package might be corrupted\nthanks to download official package at\n%s.";
constexpr const char* NO_TARGET_FOLDER_TEXT =
    "Failed to create target folder on system disk\nthanks to download official package at\n%s.";
constexpr const char* COPY_FAILED_TEXT =
    "Failed to copy file(s) to destination folder...\n\nSome application could still use our "
    "dll (Sonnarel Remote API or Virtual ASIO driver)\nClose all applications that could use "
    "them...\n\nOtherwise installation package might be corrupted\nthanks to download official "
    "package at\n%s.";

// The window shows errorTitle/errorText once it receives the post, so write them first.
int32_t stop(InstallerContext* context, const char* text, int32_t result) {
    snprintf(context->errorText, sizeof context->errorText, text, MAKER_SITE);
    platform::postCommand(context->windowHandle, CMD_DONE, DONE_FAILED);
    return result;
}

// A copy under the running program's own file name (the pre-install checks compare file
// names). False when there is no copy in place, so no uninstall entry may name it.
bool copySetupProgram(InstallerContext* context, char (&copy)[1024]) {
    return joinPath(copy, context->installFolder, fileNameOf(context->setupPath)) &&
           placeSetupCopy(context->setupPath, copy);
}

int32_t finalNotice(bool driverFailed, bool placed) {
    if (!placed) return driverFailed ? DONE_VAIO_WARNING_NOT_PLACED : DONE_NOT_PLACED;
    return driverFailed ? DONE_VAIO_WARNING : DONE_OK;
}
}  // namespace

uint32_t installWorker(InstallerContext* context) {
    platform::lowerThreadPriority();
    int32_t com = platform::coInitialize();
    int32_t result = runInstall(context);
    storeShared(context->procedureResult, result);
    storeShared(exitCode, result);
    if (com == 0) platform::coUninitialize();
    storeShared(context->busy, 0);  // last: the window may end the program from here on
    return 0;
}

int32_t runInstall(InstallerContext* context) {
    bool driverFailed = false;
    char setupCopy[1024];
    snprintf(context->errorTitle, sizeof context->errorTitle, "%s Installation Error", PRODUCT_ID);

    setStatusLabel(context, "Extract Package");
    platform::sleepMs(3000);
    if (loadPackageDirectory(context) != 0) return stop(context, CORRUPT_PACKAGE_TEXT, -100);

    setStatusLabel(context, "Copy Files");
    platform::sleepMs(3000);
    if (determineInstallFolder(context) != 0 || createFolderTree(context->installFolder) != 1)
        return stop(context, NO_TARGET_FOLDER_TEXT, -101);
    sweepStaleFiles(context->installFolder);
    if (extractPackage(context) != 0) return stop(context, COPY_FAILED_TEXT, -102);

    if ((context->osCode == 7 || context->osCode == 8) && context->is64BitSystem) {
        setStatusLabel(context, "Install VAIOs");
        driverFailed = runVaioSetup(context) != 0;
        context->vaioInstalled = 1;
    }
    registerAsioModules(context, RegistrationMode::registerModules);
    platform::sleepMs(1000);

    setStatusLabel(context, "Create Shortcuts");
    createShortcuts(context);
    resetApplicationSettings();
    bool placed = copySetupProgram(context, setupCopy);
    if (placed)
        writeUninstallEntry(setupCopy, context->installFolder, installedKilobytes(context),
                            silentFlag);

    if (!driverFailed && context->vaioInstalled) {
        platform::sleepMs(1000);
        setStatusLabel(context, "Configure VAIOs");
        configureVaio(context);
    }
    setStatusLabel(context, "Installation Completed");
    platform::postCommand(context->windowHandle, CMD_DONE, finalNotice(driverFailed, placed));
    // Whoever reads only the exit code must not take either for a success; a product that
    // nothing can remove is the graver of the two.
    if (!placed) return -105;
    if (driverFailed) return -104;
    return 1;
}
