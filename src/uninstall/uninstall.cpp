#include "uninstall/uninstall.h"

#include "app/context.h"

// Placeholder until the uninstall procedure lands: it removes nothing and only ends the way
// the real procedure does, with the restart box (unless silent) and a completed result.
int32_t runUninstall(InstallerContext* context) {
    if (!silentFlag)
        platform::showMessageBox(context->windowHandle,
                                 "Restart System to finish the uninstallation!",
                                 "REBOOT YOUR SYSTEM",
                                 platform::MB_SYSTEM_MODAL | platform::MB_ICON_WARNING);
    return 1;
}
