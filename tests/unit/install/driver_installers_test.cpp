// The VAIO setup runner and the ASIO module registration, against scripted programs/modules.
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
    }
    fake::ScriptedModule& module(const char* name) {
        return fake::state().modules[key(INSTALL_FOLDER + "\\" + name)];
    }
    // The module events (load, call, free, cofree) and the sleeps, in order.
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

TEST_F(DriverInstallers, VaioSetupRunsFromTheInstallFolderAndWaitsForItsEnd) {
    fake::state().processes[key(VAIO_SETUP)] = exitingWith(2, 600000);
    EXPECT_EQ(runVaioSetup(context.get()), 0);
    EXPECT_EQ(events("start "),
              std::vector<std::string>{"start " + VAIO_SETUP + "|-h -i -H -n|" + INSTALL_FOLDER});
    EXPECT_EQ(fake::state().clockMs, 600000u);  // no time limit
    EXPECT_TRUE(events("post ").empty());
}

TEST_F(DriverInstallers, VaioSetupFailuresReportTheirOwnText) {
    fake::state().processes[key(VAIO_SETUP)] = exitingWith(int32_t(0x80000000));
    EXPECT_EQ(runVaioSetup(context.get()), VAIO_SETUP_FAILED);
    EXPECT_EQ(std::string(context->errorText),
              "Failed to install virtual i/o driver...\nCheck running setup in administrator mode");
    EXPECT_EQ(events("post "), std::vector<std::string>{"post 180 127"});

    fake::state().events.clear();
    fake::state().processes[key(VAIO_SETUP)] = exitingWith(1);
    EXPECT_EQ(runVaioSetup(context.get()), VAIO_RESTART_REQUIRED);
    EXPECT_EQ(std::string(context->errorText),
              "Cannot install Package now...\nYou must RESTART your system and then relaunch setup "
              "program");
    EXPECT_EQ(events("post "), std::vector<std::string>{"post 180 127"});
}

TEST_F(DriverInstallers, VaioSetupWhoseExitCodeCannotBeReadCountsAsFailed) {
    fake::state().processes[key(VAIO_SETUP)].exitCodeReadable = false;
    EXPECT_EQ(runVaioSetup(context.get()), VAIO_SETUP_FAILED);
}

TEST_F(DriverInstallers, VaioSetupNotStartedOrWithoutHandleIsSilent) {
    fake::state().processes[key(VAIO_SETUP)].start = platform::StartResult::failed;
    EXPECT_EQ(runVaioSetup(context.get()), VAIO_NOT_STARTED);
    fake::state().processes[key(VAIO_SETUP)].start = platform::StartResult::noHandle;
    EXPECT_EQ(runVaioSetup(context.get()), VAIO_NO_PROCESS_HANDLE);
    EXPECT_TRUE(events("post ").empty());
    EXPECT_EQ(context->errorText[0], 0);
}

TEST_F(DriverInstallers, VaioSetupOn32BitWindowsWouldBeTheProgramWithoutSuffix) {
    context->is64BitSystem = 0;
    runVaioSetup(context.get());
    EXPECT_EQ(events("start ").at(0).find("start " + INSTALL_FOLDER + "\\QLOrvaloVAIO_Setup.exe|"),
              0u);
}

TEST_F(DriverInstallers, RegistersEach32BitModuleAndWaitsAfterEachSuccess) {
    context->is64BitSystem = 0;
    module(MODULES_32[1]).exports["DllRegisterServer"] = int32_t(0x80004005);
    EXPECT_EQ(registerAsioModules(context.get(), RegistrationMode::registerModules), 0);
    std::vector<std::string> expected = {
        "load qlorvalo_vasio8_driver.dll", "call qlorvalo_vasio8_driver.dll DllRegisterServer",
        "cofree qlorvalo_vasio8_driver.dll", "sleep 50",
        // a failing registration: unloaded at once, no wait, the next module goes on
        "load qlorvalo_vasio64A_driver.dll", "call qlorvalo_vasio64a_driver.dll DllRegisterServer",
        "cofree qlorvalo_vasio64a_driver.dll", "load qlorvalo_vasio64B_driver.dll",
        "call qlorvalo_vasio64b_driver.dll DllRegisterServer",
        "cofree qlorvalo_vasio64b_driver.dll", "sleep 50", "load qlorvalo_vasio128_driver.dll",
        "call qlorvalo_vasio128_driver.dll DllRegisterServer",
        "cofree qlorvalo_vasio128_driver.dll", "sleep 50"};
    EXPECT_EQ(moduleTrace(), expected);
    EXPECT_TRUE(events("start ").empty());  // no registration tool on 32-bit Windows
}

TEST_F(DriverInstallers, ModuleWithoutEntryPointIsFreedPlainlyOrSkippedWhenItDoesNotLoad) {
    context->is64BitSystem = 0;
    module(MODULES_32[0]).exports.clear();
    fake::state().modules.erase(key(INSTALL_FOLDER + "\\" + MODULES_32[1]));
    registerAsioModules(context.get(), RegistrationMode::registerModules);
    auto trace = moduleTrace();
    ASSERT_GE(trace.size(), 2u);
    EXPECT_EQ(trace[0], "load qlorvalo_vasio8_driver.dll");
    EXPECT_EQ(trace[1], "free qlorvalo_vasio8_driver.dll");  // FreeLibrary, not CoFreeLibrary
    EXPECT_EQ(trace[2], "load qlorvalo_vasio64B_driver.dll");
    EXPECT_EQ(events("call ").size(), 2u);
}

TEST_F(DriverInstallers, UnregisterModeIgnoresResultsAndUsesCoFreeLibraryThroughout) {
    context->is64BitSystem = 0;
    module(MODULES_32[0]).exports["DllUnregisterServer"] = int32_t(0x80004005);
    module(MODULES_32[1]).exports.clear();
    registerAsioModules(context.get(), RegistrationMode::unregisterModules);
    auto trace = moduleTrace();
    std::vector<std::string> firstTwo(trace.begin(), trace.begin() + 6);
    EXPECT_EQ(firstTwo,
              (std::vector<std::string>{"load qlorvalo_vasio8_driver.dll",
                                        "call qlorvalo_vasio8_driver.dll DllUnregisterServer",
                                        "cofree qlorvalo_vasio8_driver.dll", "sleep 50",
                                        "load qlorvalo_vasio64A_driver.dll",
                                        "cofree qlorvalo_vasio64a_driver.dll"}));
    EXPECT_EQ(events("sleep 50").size(), 3u);
    EXPECT_EQ(events("call ").size(), 3u);
}

TEST_F(DriverInstallers, RegistrationToolCommandLinesInBothModes) {
    std::string folder = INSTALL_FOLDER;
    registerAsioModules(context.get(), RegistrationMode::registerModules);
    registerAsioModules(context.get(), RegistrationMode::unregisterModules);
    std::vector<std::string> expected;
    for (const char* mode : {"", " -u "})
        for (const char* module : MODULES_64)
            expected.push_back("start " + REGISTRATION_TOOL + "|" + mode + " -f" + folder + "\\" +
                               module + "|<inherited>");
    EXPECT_EQ(events("start "), expected);
    EXPECT_NE(expected[4].find("| -u  -fC:\\"), std::string::npos);
}

TEST_F(DriverInstallers, RegistrationToolGetsAtMostTenSecondsEach) {
    context->is64BitSystem = 1;
    for (const char* module : MODULES_32)
        fake::state().modules.erase(key(INSTALL_FOLDER + "\\" + module));
    fake::state().processes[key(REGISTRATION_TOOL)] = exitingWith(0, 60000);
    registerAsioModules(context.get(), RegistrationMode::registerModules);
    EXPECT_EQ(fake::state().clockMs, 4 * 10000u);
    EXPECT_EQ(events("start ").size(), 4u);
}

TEST_F(DriverInstallers, MissingRegistrationToolIsSkipped) {
    fake::state().processes[key(REGISTRATION_TOOL)].start = platform::StartResult::failed;
    EXPECT_EQ(registerAsioModules(context.get(), RegistrationMode::registerModules), 0);
    EXPECT_EQ(events("start ").size(), 4u);
    EXPECT_EQ(events("call ").size(), 4u);
}

TEST_F(DriverInstallers, PathsThatDoNotFitAreRefusedNotCut) {
    std::string longFolder = "C:\\" + std::string(1000, 'f');
    snprintf(context->installFolder, sizeof context->installFolder, "%s", longFolder.c_str());
    EXPECT_EQ(runVaioSetup(context.get()), VAIO_NOT_STARTED);
    registerAsioModules(context.get(), RegistrationMode::registerModules);
    EXPECT_TRUE(events("start ").empty());
}

}  // namespace
}  // namespace install_test
