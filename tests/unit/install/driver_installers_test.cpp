// The VAIO setup runner and the ASIO module registration, against scripted programs/modules.
// The exit-code texts are pinned through the whole procedure in install_procedure_test.cpp.
#include <regex>

#include "install/asio_modules.h"
#include "install/vaio_setup.h"
#include "install_fixture.h"

namespace install_test {
namespace {

class DriverInstallers : public InstallMachine {
protected:
    fake::ScriptedModule& module(const char* name) {
        return fake::state().modules[key(INSTALL_FOLDER + "\\" + name)];
    }
    // Every event in lower case, a 32-bit module named by what follows "qlorvalo_vasio" ("64a").
    static std::string trace() {
        static const std::regex MODULE("c:\\\\.*?qlorvalo_vasio(\\w+?)_driver\\.dll");
        std::string out;
        for (const auto& event : fake::state().events)
            out += std::regex_replace(fake::lower(event), MODULE, "$1") + ", ";
        return out;
    }
};

// Exit codes, a failed wait and a program that does not start are decided through the whole
// procedure in install_procedure_test.cpp; here what is left of the runner.
TEST_F(DriverInstallers, VaioSetupIsWaitedForWithoutLimitAndOtherFailuresAreSilent) {
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

// In this process, one module of each kind: without the entry points, not loadable, failing,
// succeeding (with a library of its own beside it). Only a successful registration is waited
// for and a module without the entry point is freed plainly; unregistering ignores results and
// uses CoFreeLibrary throughout.
TEST_F(DriverInstallers, EachKindOf32BitModuleInBothModes) {
    module(MODULES_32[0]).exports.clear();
    fake::state().modules.erase(key(INSTALL_FOLDER + "\\" + MODULES_32[1]));
    for (auto& [entryPoint, result] : module(MODULES_32[2]).exports) result = int32_t(0x80004005);
    module(MODULES_32[2]).imports = {"ole32.dll"};
    module(MODULES_32[3]).imports = {"qlcompanion.dll"};
    fake::addFile("C:\\windows\\system32\\ole32.dll", "");
    fake::addFile(INSTALL_FOLDER + "\\qlcompanion.dll", "");
    context->is64BitSystem = 0;  // no registration tool
    EXPECT_EQ(registerAsioModules(context.get(), RegistrationMode::registerModules), 0);
    EXPECT_EQ(trace(), "load 8, free 8, load 64b, call 64b dllregisterserver, cofree 64b, "
                       "load 128, call 128 dllregisterserver, cofree 128, sleep 50, ");
    fake::state().events.clear();
    registerAsioModules(context.get(), RegistrationMode::unregisterModules);
    EXPECT_EQ(trace(), "load 8, cofree 8, load 64b, call 64b dllunregisterserver, cofree 64b, "
                       "sleep 50, load 128, call 128 dllunregisterserver, cofree 128, sleep 50, ");
}

// The 64-bit modules through the tool, started in the install folder, " -u " first to
// unregister (registering is pinned by the install order test); a hung tool is left after ten
// seconds, a missing one skipped.
TEST_F(DriverInstallers, RegistrationToolLinesItsTenSecondsAndItsAbsence) {
    fake::state().processes[key(REGISTRATION_TOOL)] = exitingWith(0, 60000);
    registerAsioModules(context.get(), RegistrationMode::unregisterModules);
    // Four settle waits of the 32-bit modules, then four tool runs cut off after ten seconds.
    EXPECT_EQ(fake::state().clockMs, 4 * 50u + 4 * 10000u);
    std::vector<std::string> expected;
    for (const char* module : MODULES_64)
        expected.push_back("start " + REGISTRATION_TOOL + "| -u  -f" + INSTALL_FOLDER + "\\" +
                           module + "|" + INSTALL_FOLDER);
    EXPECT_EQ(events("start "), expected);
    fake::state().processes[key(REGISTRATION_TOOL)].start = platform::StartResult::failed;
    EXPECT_EQ(registerAsioModules(context.get(), RegistrationMode::registerModules), 0);
    EXPECT_EQ(events("start ").size(), 8u);
}

TEST_F(DriverInstallers, PathsThatDoNotFitAreRefusedNotCut) {
    snprintf(context->installFolder, sizeof context->installFolder, "C:\\%s",
             std::string(1000, 'f').c_str());
    EXPECT_EQ(runVaioSetup(context.get()), VAIO_NOT_STARTED);
    registerAsioModules(context.get(), RegistrationMode::registerModules);
    EXPECT_TRUE(events("start ").empty());
}

}  // namespace
}  // namespace install_test
