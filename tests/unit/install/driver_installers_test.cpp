// The VAIO setup runner and the ASIO module registration, against scripted programs/modules.
// The exit-code texts are pinned through the whole procedure in install_procedure_test.cpp.
#include "install/asio_modules.h"
#include "install/vaio_setup.h"
#include "install_fixture.h"

namespace install_test {
namespace {

class DriverInstallers : public InstallMachine {
protected:
    void SetUp() override {
        InstallMachine::SetUp();
        snprintf(context->installFolder, sizeof context->installFolder, "%s",
                 INSTALL_FOLDER.c_str());
        context->is64BitSystem = 0;
    }
    fake::ScriptedModule& module(const char* name) {
        return fake::state().modules[key(INSTALL_FOLDER + "\\" + name)];
    }
    // The module events (load, call, free, cofree) and the sleeps, in order, folder cut off.
    std::vector<std::string> moduleTrace() {
        std::vector<std::string> out;
        std::string prefix = key(INSTALL_FOLDER) + "\\";
        for (std::string event : fake::state().events) {
            size_t at = fake::lower(event).find(prefix);
            if (at != std::string::npos) event.erase(at, prefix.size());
            if (event.rfind("start ", 0) != 0) out.push_back(event);
        }
        return out;
    }
};

// Exit codes, a failed wait and a program that does not start are decided through the whole
// procedure in install_procedure_test.cpp; here what is left of the runner.
TEST_F(DriverInstallers, VaioSetupIsWaitedForWithoutLimitAndOtherFailuresAreSilent) {
    context->is64BitSystem = 1;
    fake::state().processes[key(VAIO_SETUP)] = exitingWith(2, 600000);
    EXPECT_EQ(runVaioSetup(context.get()), 0);
    EXPECT_EQ(fake::state().clockMs, 600000u);
    fake::state().processes[key(VAIO_SETUP)].exitCodeReadable = false;
    EXPECT_EQ(runVaioSetup(context.get()), VAIO_SETUP_FAILED);
    fake::state().events.clear();
    fake::state().processes[key(VAIO_SETUP)].start = platform::StartResult::noHandle;
    EXPECT_EQ(runVaioSetup(context.get()), VAIO_NO_PROCESS_HANDLE);
    EXPECT_TRUE(events("post ").empty());
}

TEST_F(DriverInstallers, Registers32BitModulesAndWaitsOnlyAfterASuccess) {
    module(MODULES_32[1]).exports["DllRegisterServer"] = int32_t(0x80004005);
    EXPECT_EQ(registerAsioModules(context.get(), RegistrationMode::registerModules), 0);
    std::vector<std::string> expected;
    for (std::string name : {"qlorvalo_vasio8_driver", "qlorvalo_vasio64A_driver",
                             "qlorvalo_vasio64B_driver", "qlorvalo_vasio128_driver"}) {
        std::string lower = fake::lower(name);
        expected.insert(expected.end(),
                        {"load " + name + ".dll", "call " + lower + ".dll DllRegisterServer",
                         "cofree " + lower + ".dll"});
        if (name != "qlorvalo_vasio64A_driver") expected.push_back("sleep 50");  // failed: no wait
    }
    EXPECT_EQ(moduleTrace(), expected);
    EXPECT_TRUE(events("start ").empty());  // no registration tool on 32-bit Windows
}

TEST_F(DriverInstallers, ModuleWithoutEntryPointIsFreedPlainlyOrSkippedWhenItDoesNotLoad) {
    module(MODULES_32[0]).exports.clear();
    fake::state().modules.erase(key(INSTALL_FOLDER + "\\" + MODULES_32[1]));
    registerAsioModules(context.get(), RegistrationMode::registerModules);
    auto trace = moduleTrace();
    ASSERT_GE(trace.size(), 3u);
    EXPECT_EQ(trace[1], "free qlorvalo_vasio8_driver.dll");  // FreeLibrary, not CoFreeLibrary
    EXPECT_EQ(trace[2], "load qlorvalo_vasio64B_driver.dll");
    EXPECT_EQ(events("call ").size(), 2u);
}

TEST_F(DriverInstallers, UnregisterModeIgnoresResultsAndUsesCoFreeLibraryThroughout) {
    module(MODULES_32[0]).exports["DllUnregisterServer"] = int32_t(0x80004005);
    module(MODULES_32[1]).exports.clear();
    registerAsioModules(context.get(), RegistrationMode::unregisterModules);
    auto trace = moduleTrace();
    EXPECT_EQ(std::vector<std::string>(trace.begin(), trace.begin() + 6),
              (std::vector<std::string>{"load qlorvalo_vasio8_driver.dll",
                                        "call qlorvalo_vasio8_driver.dll DllUnregisterServer",
                                        "cofree qlorvalo_vasio8_driver.dll", "sleep 50",
                                        "load qlorvalo_vasio64A_driver.dll",
                                        "cofree qlorvalo_vasio64a_driver.dll"}));
    EXPECT_EQ(events("sleep 50").size(), 3u);
}

TEST_F(DriverInstallers, RegistrationToolCommandLinesToUnregister) {  // register: order test
    context->is64BitSystem = 1;
    registerAsioModules(context.get(), RegistrationMode::unregisterModules);
    std::vector<std::string> expected;
    for (const char* module : MODULES_64)
        expected.push_back("start " + REGISTRATION_TOOL + "| -u  -f" + INSTALL_FOLDER + "\\" +
                           module + "|<inherited>");
    EXPECT_EQ(events("start "), expected);
}

TEST_F(DriverInstallers, RegistrationToolGetsAtMostTenSecondsEachAndMayBeMissing) {
    context->is64BitSystem = 1;
    for (const char* module : MODULES_32)
        fake::state().modules.erase(key(INSTALL_FOLDER + "\\" + module));
    fake::state().processes[key(REGISTRATION_TOOL)] = exitingWith(0, 60000);
    registerAsioModules(context.get(), RegistrationMode::registerModules);
    EXPECT_EQ(fake::state().clockMs, 4 * 10000u);
    fake::state().processes[key(REGISTRATION_TOOL)].start = platform::StartResult::failed;
    EXPECT_EQ(registerAsioModules(context.get(), RegistrationMode::registerModules), 0);
    EXPECT_EQ(events("start ").size(), 8u);
}

TEST_F(DriverInstallers, PathsThatDoNotFitAreRefusedNotCut) {
    context->is64BitSystem = 1;
    snprintf(context->installFolder, sizeof context->installFolder, "C:\\%s",
             std::string(1000, 'f').c_str());
    EXPECT_EQ(runVaioSetup(context.get()), VAIO_NOT_STARTED);
    registerAsioModules(context.get(), RegistrationMode::registerModules);
    EXPECT_TRUE(events("start ").empty());
}

}  // namespace
}  // namespace install_test
