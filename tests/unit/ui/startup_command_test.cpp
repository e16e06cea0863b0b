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
        {1, 0, 0, nullptr, 1, CMD_DRIVER_PRESENT, 0},  // silent: only for its exit code
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

struct BoxCase {
    uint32_t id;
    int32_t code;
    const char* caption;  // nullptr: no box
    const char* text;     // the start of the box text
    uint32_t flags;
    int32_t exitCode;  // 0: left alone
    bool postClose, openPage;
};

TEST_F(WindowCommands, NoticesWarningsAndWhatFollowsThem) {
    strcpy(context.errorTitle, "QuillonOrvalo Installation Error");
    strcpy(context.errorText, "Something failed");
    const uint32_t error = platform::MB_SYSTEM_MODAL | platform::MB_ICON_ERROR;
    const uint32_t warning = platform::MB_SYSTEM_MODAL | platform::MB_ICON_WARNING;
    const BoxCase cases[] = {
        {CMD_DONE, DONE_FAILED, context.errorTitle, "Something failed", error, 0, true, false},
        {CMD_DONE, DONE_OK, "REBOOT YOUR SYSTEM", "Installation Complete and Successful !\n\n",
         warning, 0, true, true},
        {CMD_DONE, DONE_VAIO_WARNING, "REBOOT YOUR SYSTEM",
         "Installation finished !\n\nVirtual Audio Driver", warning, 0, true, true},
        {0x12340000u | CMD_DONE, DONE_OK, "REBOOT YOUR SYSTEM", "", warning, 0, true, true},
        {CMD_DONE, 130, nullptr, "", 0, 0, false, false},  // unknown codes, high bits: nothing
        {CMD_DONE, int32_t(0x10000) | DONE_OK, nullptr, "", 0, 0, false, false},
        {999, 0, nullptr, "", 0, 0, false, false},
        {CMD_WRONG_SETUP, 0, "Wrong Installation Program",
         "Current QuillonOrvalo version has been installed by another", error, -2, true, false},
        {CMD_DRIVER_PRESENT, 0, "Installation Issue",  // the window stays open
         "Quillon Driver presence has been detected. Check Quillon Orvalo drivers", warning, -3,
         false, false},
    };
    for (const BoxCase& c : cases) {
        CommandOutcome outcome = handle(c.id, c.code);
        ASSERT_EQ(outcome.boxCaption == nullptr, c.caption == nullptr) << &c - cases;
        if (c.caption) {
            EXPECT_STREQ(outcome.boxCaption, c.caption) << &c - cases;
            EXPECT_EQ(std::string(outcome.boxText).rfind(c.text, 0), 0u) << &c - cases;
        }
        EXPECT_EQ(outcome.boxFlags, c.flags) << &c - cases;
        EXPECT_EQ(outcome.setsExitCode ? outcome.exitCode : 0, c.exitCode) << &c - cases;
        EXPECT_EQ(outcome.postClose, c.postClose) << &c - cases;
        EXPECT_EQ(outcome.openAfterInstallPage, c.openPage) << &c - cases;
        EXPECT_FALSE(outcome.endLoop) << &c - cases;
    }
    CommandOutcome startup, failed;
    launchFailureBox(&failed);
    EXPECT_STREQ(failed.boxCaption, "QuillonOrvalo Installation Error");
    startupFailureBox(true, &startup);
    EXPECT_STREQ(startup.boxText, "Failed to register window class...");
    startupFailureBox(false, &startup);
    EXPECT_STREQ(startup.boxText, "Failed to create window...");
    EXPECT_STREQ(startup.boxCaption, "Startup Error");
    EXPECT_EQ(startup.boxFlags, platform::MB_ICON_WARNING);

    // Silent: no box at all (a hidden window waits for WM_CLOSE from outside), the codes stay.
    silentFlag = 1;
    for (uint32_t id : {CMD_WRONG_SETUP, CMD_DRIVER_PRESENT})
        EXPECT_TRUE(handle(id, 0).boxText == nullptr && handle(id, 0).setsExitCode);
    EXPECT_EQ(handle(CMD_DRIVER_PRESENT, 0).exitCode, -3);
    for (int32_t code : {DONE_FAILED, DONE_OK, DONE_VAIO_WARNING})
        EXPECT_TRUE(handle(CMD_DONE, code).boxText == nullptr && !handle(CMD_DONE, code).postClose);
    startupFailureBox(true, &startup);
    launchFailureBox(&failed);
    EXPECT_TRUE(startup.boxText == nullptr && failed.boxText == nullptr);
}

// The worker posts its final notice before it clears busy: the close that follows the notice
// must wait for it, not be refused like the user's close while busy.
TEST_F(WindowCommands, CloseRequests) {
    EXPECT_EQ(closeStep(false, 0), CloseStep::end);
    EXPECT_EQ(closeStep(false, 1), CloseStep::refuse);
    EXPECT_EQ(closeStep(true, 0), CloseStep::end);
    EXPECT_EQ(closeStep(true, 1), CloseStep::endAfterWorker);
}

}  // namespace
