#include "uninstall/uninstall.h"

#include <cstdio>

#include "app/context.h"
#include "app/paths.h"
#include "install/asio_modules.h"
#include "install/install_folder.h"
#include "install/registry_records.h"
#include "package/package.h"
#include "uninstall/folder_remover.h"
#include "uninstall/key_remover.h"
#include "uninstall/package_files.h"
#include "uninstall/start_menu.h"
#include "uninstall/vaio_removal.h"

namespace {
constexpr const char* CORRUPT_PACKAGE_TEXT =
    "Package uninstallation might be corrupted\nthanks to download official package at\n%s.";
constexpr const char* NO_TARGET_FOLDER_TEXT =
    "Failed to get target folder on system disk\nthanks to remove %s manually...";
constexpr uint32_t SETTLE_MS = 5000;  // the programs closed at start-up let go of their files

int32_t stop(InstallerContext* context, const char* text, const char* argument, int32_t result) {
    snprintf(context->errorText, sizeof context->errorText, text, argument);
    platform::postCommand(context->windowHandle, CMD_DONE, DONE_FAILED);
    return result;
}

// A folder beyond the path limit counts as not found: the procedure then removes nothing
// rather than part of it.
bool findInstallFolder(InstallerContext* context) {
    return determineInstallFolder(context) == 0 && withinPathLimit(context->installFolder);
}
}  // namespace

int32_t runUninstall(InstallerContext* context) {
    snprintf(context->errorTitle, sizeof context->errorTitle, "%s Uninstallation Error",
             PRODUCT_ID);
    if (loadPackageDirectory(context) != 0)
        return stop(context, CORRUPT_PACKAGE_TEXT, MAKER_SITE, -101);
    if (!findInstallFolder(context)) return stop(context, NO_TARGET_FOLDER_TEXT, PRODUCT_ID, -103);
    platform::sleepMs(SETTLE_MS);

    if (vaioRemovalNeeded(context)) runVaioRemoval(context);
    registerAsioModules(context, RegistrationMode::unregisterModules);
    sweepStaleFiles(context->installFolder);
    removePackageFiles(context);
    cleanStartMenu(context);
    removeStartupShortcut();
    resetApplicationSettings();
    removeKeyTree(platform::regRoot(platform::RegRoot::localMachine), UNINSTALL_KEY);
    if (findInstallFolder(context)) removeFolderTree(context->installFolder);
    context->installFolder[0] = 0;

    if (!silentFlag)
        platform::showMessageBox(context->windowHandle,
                                 "Restart System to finish the uninstallation!",
                                 "REBOOT YOUR SYSTEM",
                                 platform::MB_SYSTEM_MODAL | platform::MB_ICON_WARNING);
    return 1;
}
