#include "install/asio_modules.h"

#include <cstdio>

#include "app/context.h"
#include "app/paths.h"

namespace {
constexpr const char* MODULES_32[] = {
    "qlorvalo_vasio8_driver.dll",
    "qlorvalo_vasio64A_driver.dll",
    "qlorvalo_vasio64B_driver.dll",
    "qlorvalo_vasio128_driver.dll",
};
constexpr const char* MODULES_64[] = {
    "qlorvalo_vasio8_driver64.dll",
    "qlorvalo_vasio64A_driver64.dll",
    "qlorvalo_vasio64B_driver64.dll",
    "qlorvalo_vasio128_driver64.dll",
};
constexpr uint32_t SETTLE_MS = 50;                // lets a module finish its registry work
constexpr uint32_t REGISTRATION_TOOL_MS = 10000;  // a hung tool is left to finish alone

void registerInProcess(const char* module, InstallerContext* context, RegistrationMode mode) {
    char path[1024];
    if (!joinPath(path, context->installFolder, module)) return;
    // A module may ship libraries of its own beside it.
    platform::ModuleHandle loaded = platform::loadModuleWithItsFolder(path);
    if (!loaded) return;
    if (mode == RegistrationMode::registerModules) {
        if (!platform::hasExport(loaded, "DllRegisterServer")) {
            platform::freeModule(loaded);
            return;
        }
        int32_t result = platform::callExport(loaded, "DllRegisterServer");
        platform::coFreeModule(loaded);
        if (result == 0) platform::sleepMs(SETTLE_MS);
        return;
    }
    if (!platform::hasExport(loaded, "DllUnregisterServer")) {
        platform::coFreeModule(loaded);
        return;
    }
    platform::callExport(loaded, "DllUnregisterServer");
    platform::coFreeModule(loaded);
    platform::sleepMs(SETTLE_MS);
}

// " -f<folder>\<module>", after " -u " when unregistering: the tool's own syntax.
void registerOutOfProcess(const char* module, InstallerContext* context, RegistrationMode mode) {
    char tool[1024], modulePath[1024], commandLine[1100];
    if (!joinPath(tool, context->installFolder, "qlregsvr64.exe") ||
        !joinPath(modulePath, context->installFolder, module))
        return;
    const char* unregister = mode == RegistrationMode::unregisterModules ? " -u " : "";
    if (snprintf(commandLine, sizeof commandLine, "%s -f%s", unregister, modulePath) >=
        int(sizeof commandLine))
        return;
    platform::Handle process = nullptr;
    if (platform::startProcess(tool, commandLine, context->installFolder, &process) !=
        platform::StartResult::started)
        return;
    platform::waitProcess(process, REGISTRATION_TOOL_MS);
    int32_t ignored;
    platform::processExitCode(process, &ignored);
    platform::closeProcess(process);
}
}  // namespace

int32_t registerAsioModules(InstallerContext* context, RegistrationMode mode) {
    for (const char* module : MODULES_32) registerInProcess(module, context, mode);
    if (context->is64BitSystem)
        for (const char* module : MODULES_64) registerOutOfProcess(module, context, mode);
    return 0;
}
