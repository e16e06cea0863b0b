// Placeholder until the install procedure lands: reports completion without installing.
#include "install/install.h"

#include "app/context.h"
#include "app/status_label.h"

uint32_t installWorker(InstallerContext* context) {
    platform::lowerThreadPriority();
    int32_t com = platform::coInitialize();
    int32_t result = runInstall(context);
    context->procedureResult = result;
    exitCode = result;
    if (com == 0) platform::coUninitialize();
    context->busy = 0;
    return 0;
}

int32_t runInstall(InstallerContext* context) {
    setStatusLabel(context, "Installation Completed");
    platform::postCommand(context->windowHandle, CMD_DONE, DONE_OK);
    return 1;
}
