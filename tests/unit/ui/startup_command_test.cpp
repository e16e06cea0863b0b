// The window's decisions: which command the creation handler posts, and what each command does.
// The wrong-setup and restart texts are read from the real boxes in e2e_spine.sh.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/context.h"
#include "platform/fake/fake_platform.h"
#include "ui/layout.h"
#include "ui/preinstall_checks.h"
#include "ui/startup_command.h"

namespace {

class WindowCommands : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        memset(&context, 0, sizeof context);
        strcpy(context.setupPath, "C:\\QuillonOrvalo_Setup.exe");
        silentFlag = installFlag = uninstallFlag = 0;
        exitCode = 0;
    }
    void TearDown() override { silentFlag = installFlag = uninstallFlag = 0; }
    void installedBy(const char* setup) {
        fake::setRegValue(
            "HKLM\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
            "QL:QuillonOrvalo {45CF77f2-4E06-4A39}",
            "UninstallString", platform::RegType::string, std::string(setup) + '\0');
        context.uninstallEntryFound = context.installed = 1;
    }
    CommandOutcome handle(uint32_t id, int32_t code) {
        CommandOutcome outcome;
        decideCommand(id, code, &context, &outcome);
        return outcome;
    }
    InstallerContext context;
};

struct StartupCase {
    int32_t silent, install, uninstall;
    const char* entrySetup;  // nullptr: no uninstall entry
    int32_t driverPresence;
    uint32_t id;
    int32_t code;
};

TEST_F(WindowCommands, StartupDecisionTable) {
    const StartupCase cases[] = {
        {0, 0, 0, nullptr, 0, 0, 0},                              // clean system
        {0, 0, 0, "D:\\any\\QuillonOrvalo_Setup.exe", 12, 0, 0},  // presence unseen with an entry
        {0, 0, 0, "C:\\QL\\Renamed_Setup.exe", 0, CMD_WRONG_SETUP, 0},
        {0, 0, 0, nullptr, 1, CMD_DRIVER_PRESENT, 0},
        {0, 0, 0, nullptr, 14, CMD_DRIVER_PRESENT, 0},
        {1, 0, 0, nullptr, 1, CMD_DRIVER_PRESENT, 0},  // silent: for its exit code alone
        {1, 0, 0, "C:\\QL\\Renamed_Setup.exe", 0, 0, 0},
        {0, 1, 1, nullptr, 0, CMD_AUTO, AUTO_INSTALL},  // -i wins over -u
        {0, 0, 1, nullptr, 0, CMD_AUTO, AUTO_UNINSTALL},
        {0, 0, 1, "C:\\QL\\Renamed.exe", 1, CMD_AUTO, AUTO_UNINSTALL},  // flags beat warnings
    };
    for (const StartupCase& c : cases) {
        SetUp();
        silentFlag = c.silent, installFlag = c.install, uninstallFlag = c.uninstall;
        if (c.entrySetup) installedBy(c.entrySetup);
        context.driverPresence = c.driverPresence;
        WindowCommand command = startupCommand(&context);
        EXPECT_EQ(command.id, c.id) << &c - cases;
        EXPECT_EQ(command.code, c.code) << &c - cases;
    }
}

TEST_F(WindowCommands, WarningsAndTheirExitCodes) {
    CommandOutcome wrong = handle(CMD_WRONG_SETUP, 0);
    EXPECT_STREQ(wrong.boxCaption, "Wrong Installation Program");
    EXPECT_EQ(wrong.boxFlags, platform::MB_SYSTEM_MODAL | platform::MB_ICON_ERROR);
    EXPECT_TRUE(wrong.setsExitCode && wrong.exitCode == -2 && wrong.postClose);

    CommandOutcome present = handle(CMD_DRIVER_PRESENT, 0);
    EXPECT_STREQ(present.boxCaption, "Installation Issue");
    EXPECT_EQ(present.boxFlags, platform::MB_SYSTEM_MODAL | platform::MB_ICON_WARNING);
    EXPECT_NE(strstr(present.boxText, "Check Quillon Orvalo drivers are no more present"), nullptr);
    EXPECT_EQ(present.exitCode, -3);
    EXPECT_FALSE(present.postClose || present.endLoop);  // the window stays open
    silentFlag = 1;
    CommandOutcome silent = handle(CMD_DRIVER_PRESENT, 0);
    EXPECT_TRUE(silent.boxText == nullptr && silent.exitCode == -3 && !silent.postClose);
}

struct AutoCase {
    int32_t code, installed, entryFound;
    Procedure procedure;
    bool setsExitCode;  // to -4
};

TEST_F(WindowCommands, AutomaticProceduresNeedTheRightStateAndAlwaysEndTheProgram) {
    const AutoCase cases[] = {
        {AUTO_INSTALL, 0, 0, Procedure::installAndWait, false},  // the worker stores the result
        {AUTO_INSTALL, 1, 0, Procedure::none, true},              // e.g. only the VAIO interface
        {AUTO_INSTALL, 0, 1, Procedure::none, true},
        {AUTO_UNINSTALL, 0, 0, Procedure::none, true},
        {AUTO_UNINSTALL, 1, 0, Procedure::uninstall, true},       // its result replaces the -4
        {7, 0, 0, Procedure::none, false},                        // an unknown code
    };
    for (const AutoCase& c : cases) {
        context.installed = c.installed, context.uninstallEntryFound = c.entryFound;
        CommandOutcome outcome = handle(CMD_AUTO, c.code);
        EXPECT_EQ(outcome.procedure, c.procedure) << &c - cases;
        EXPECT_EQ(outcome.setsExitCode, c.setsExitCode) << &c - cases;
        if (c.setsExitCode) {
            EXPECT_EQ(outcome.exitCode, -4) << &c - cases;
        }
        EXPECT_TRUE(outcome.endLoop) << &c - cases;
    }
}

TEST_F(WindowCommands, FinalNotices) {
    strcpy(context.errorTitle, "QuillonOrvalo Installation Error");
    strcpy(context.errorText, "Something failed");
    CommandOutcome failed = handle(CMD_DONE, DONE_FAILED);
    EXPECT_EQ(failed.boxText, context.errorText);
    EXPECT_EQ(failed.boxCaption, context.errorTitle);
    EXPECT_EQ(failed.boxFlags, platform::MB_SYSTEM_MODAL | platform::MB_ICON_ERROR);
    EXPECT_TRUE(!failed.openAfterInstallPage && failed.postClose);

    CommandOutcome ok = handle(CMD_DONE, DONE_OK);
    EXPECT_STREQ(ok.boxCaption, "REBOOT YOUR SYSTEM");
    EXPECT_EQ(ok.boxFlags, platform::MB_SYSTEM_MODAL | platform::MB_ICON_WARNING);
    EXPECT_TRUE(ok.openAfterInstallPage && ok.postClose && !ok.setsExitCode);

    CommandOutcome warning = handle(CMD_DONE, DONE_VAIO_WARNING);
    EXPECT_EQ(strncmp(warning.boxText, "Installation finished !\n\nVirtual Audio Driver", 45), 0);
    EXPECT_TRUE(warning.openAfterInstallPage && warning.postClose);

    // Unknown codes, a code with high bits, another id: nothing. The id counts on 16 bits only.
    EXPECT_FALSE(handle(CMD_DONE, 130).postClose);
    EXPECT_FALSE(handle(CMD_DONE, int32_t(0x10000) | DONE_OK).postClose);
    EXPECT_TRUE(handle(0x12340000u | CMD_DONE, DONE_OK).postClose);
    EXPECT_EQ(handle(999, 0).boxText, nullptr);

    silentFlag = 1;  // a hidden window shows nothing and waits for WM_CLOSE from outside
    for (int32_t code : {DONE_FAILED, DONE_OK, DONE_VAIO_WARNING})
        EXPECT_TRUE(handle(CMD_DONE, code).boxText == nullptr && !handle(CMD_DONE, code).postClose);
}

}  // namespace
