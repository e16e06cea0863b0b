#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/context.h"
#include "platform/fake/fake_platform.h"
#include "ui/layout.h"
#include "ui/preinstall_checks.h"
#include "ui/startup_command.h"

namespace {

const std::string ENTRY =
    "HKLM\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
    "QL:QuillonOrvalo {45CF77f2-4E06-4A39}";

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
        fake::setRegValue(ENTRY, "UninstallString", platform::RegType::string,
                          std::string(setup) + '\0');
        context.uninstallEntryFound = context.installed = 1;
    }
    // What the window ends up with: the posted command, then its handling.
    CommandOutcome handle(WindowCommand command) {
        CommandOutcome outcome;
        decideCommand(command.id, command.code, &context, &outcome);
        return outcome;
    }
    InstallerContext context;
};

bool same(WindowCommand a, uint32_t id, int32_t code) { return a.id == id && a.code == code; }

}  // namespace

TEST_F(WindowCommands, DecisionWithoutFlags) {
    EXPECT_TRUE(same(startupCommand(&context), 0, 0));  // clean system

    installedBy("D:\\any\\QuillonOrvalo_Setup.exe");
    context.driverPresence = 12;  // not looked at while there is an entry
    EXPECT_TRUE(same(startupCommand(&context), 0, 0));

    installedBy("C:\\QL\\Renamed_Setup.exe");
    WindowCommand wrong = startupCommand(&context);
    EXPECT_TRUE(same(wrong, CMD_WRONG_SETUP, 0));
    CommandOutcome outcome = handle(wrong);
    EXPECT_STREQ(outcome.boxCaption, "Wrong Installation Program");
    EXPECT_EQ(outcome.boxFlags, platform::MB_SYSTEM_MODAL | platform::MB_ICON_ERROR);
    EXPECT_NE(strstr(outcome.boxText, "Current QuillonOrvalo version has been installed by "
                                      "another Setup program...\n\nYou must use"),
              nullptr);
    EXPECT_TRUE(outcome.setsExitCode);
    EXPECT_EQ(outcome.exitCode, -2);
    EXPECT_TRUE(outcome.postClose);
}

TEST_F(WindowCommands, DriverPresentWarnsAndKeepsTheWindow) {
    for (int32_t presence : {1, 4, 11, 14}) {
        context.driverPresence = presence;
        WindowCommand command = startupCommand(&context);
        ASSERT_TRUE(same(command, CMD_DRIVER_PRESENT, 0));
        CommandOutcome outcome = handle(command);
        EXPECT_STREQ(outcome.boxCaption, "Installation Issue");
        EXPECT_EQ(outcome.boxFlags, platform::MB_SYSTEM_MODAL | platform::MB_ICON_WARNING);
        EXPECT_NE(strstr(outcome.boxText, "Check Quillon Orvalo drivers are no more present"),
                  nullptr);
        EXPECT_EQ(outcome.exitCode, -3);
        EXPECT_FALSE(outcome.postClose);
        EXPECT_FALSE(outcome.endLoop);
    }
}

TEST_F(WindowCommands, VaioInterfaceWithoutEntryOffersRemovalAndWarns) {
    context.driverPresence = deviceNameScan();
    fake::state().deviceOpen = platform::DeviceOpen::openFailed;
    vaioInterfaceProbe(&context);
    EXPECT_STREQ(buttonLabelFor(context.installed), "Remove");
    EXPECT_TRUE(same(startupCommand(&context), CMD_DRIVER_PRESENT, 0));
}

TEST_F(WindowCommands, SilentModePostsNoWarnings) {
    silentFlag = 1;
    context.driverPresence = 1;
    EXPECT_TRUE(same(startupCommand(&context), 0, 0));
    installedBy("C:\\QL\\Renamed_Setup.exe");
    EXPECT_TRUE(same(startupCommand(&context), 0, 0));
    for (int32_t code : {DONE_FAILED, DONE_OK, DONE_VAIO_WARNING}) {
        CommandOutcome outcome = handle({CMD_DONE, code});
        EXPECT_EQ(outcome.boxText, nullptr);
        EXPECT_FALSE(outcome.postClose);  // a hidden window waits for WM_CLOSE from outside
    }
}

TEST_F(WindowCommands, FlagsChooseTheAutomaticProcedure) {
    installFlag = uninstallFlag = 1;
    EXPECT_TRUE(same(startupCommand(&context), CMD_AUTO, AUTO_INSTALL));
    installFlag = 0;
    EXPECT_TRUE(same(startupCommand(&context), CMD_AUTO, AUTO_UNINSTALL));
    installedBy("C:\\QL\\Renamed_Setup.exe");  // flags win over the warnings
    EXPECT_TRUE(same(startupCommand(&context), CMD_AUTO, AUTO_UNINSTALL));
}

TEST_F(WindowCommands, AutoInstallRunsOnlyOnACleanSystem) {
    CommandOutcome outcome = handle({CMD_AUTO, AUTO_INSTALL});
    EXPECT_EQ(outcome.procedure, Procedure::installAndWait);
    EXPECT_FALSE(outcome.setsExitCode);  // the worker stores it
    EXPECT_TRUE(outcome.endLoop);

    context.installed = 1;  // e.g. only the VAIO interface was found
    outcome = handle({CMD_AUTO, AUTO_INSTALL});
    EXPECT_EQ(outcome.procedure, Procedure::none);
    EXPECT_EQ(outcome.exitCode, -4);
    context.installed = 0;
    context.uninstallEntryFound = 1;
    outcome = handle({CMD_AUTO, AUTO_INSTALL});
    EXPECT_EQ(outcome.procedure, Procedure::none);
    EXPECT_EQ(outcome.exitCode, -4);
    EXPECT_TRUE(outcome.endLoop);
}

TEST_F(WindowCommands, AutoUninstallNeedsAnInstalledProduct) {
    CommandOutcome outcome = handle({CMD_AUTO, AUTO_UNINSTALL});
    EXPECT_EQ(outcome.procedure, Procedure::none);
    EXPECT_EQ(outcome.exitCode, -4);
    EXPECT_TRUE(outcome.endLoop);
    context.installed = 1;
    outcome = handle({CMD_AUTO, AUTO_UNINSTALL});
    EXPECT_EQ(outcome.procedure, Procedure::uninstall);  // its result replaces the -4
    EXPECT_EQ(outcome.exitCode, -4);
    outcome = handle({CMD_AUTO, 7});  // an unknown code still ends the program
    EXPECT_EQ(outcome.procedure, Procedure::none);
    EXPECT_FALSE(outcome.setsExitCode);
    EXPECT_TRUE(outcome.endLoop);
}

TEST_F(WindowCommands, FinalNotices) {
    strcpy(context.errorTitle, "QuillonOrvalo Installation Error");
    strcpy(context.errorText, "Something failed");
    CommandOutcome failed = handle({CMD_DONE, DONE_FAILED});
    EXPECT_EQ(failed.boxText, context.errorText);
    EXPECT_EQ(failed.boxCaption, context.errorTitle);
    EXPECT_EQ(failed.boxFlags, platform::MB_SYSTEM_MODAL | platform::MB_ICON_ERROR);
    EXPECT_FALSE(failed.openAfterInstallPage);
    EXPECT_TRUE(failed.postClose);

    CommandOutcome ok = handle({CMD_DONE, DONE_OK});
    EXPECT_TRUE(ok.openAfterInstallPage);
    EXPECT_STREQ(ok.boxText, "Installation Complete and Successful !\n\nYOU MUST RESTART your "
                             "computer to finalize installation");
    EXPECT_STREQ(ok.boxCaption, "REBOOT YOUR SYSTEM");
    EXPECT_EQ(ok.boxFlags, platform::MB_SYSTEM_MODAL | platform::MB_ICON_WARNING);
    EXPECT_TRUE(ok.postClose);
    EXPECT_FALSE(ok.setsExitCode);

    CommandOutcome warning = handle({CMD_DONE, DONE_VAIO_WARNING});
    EXPECT_TRUE(warning.openAfterInstallPage);
    EXPECT_EQ(strncmp(warning.boxText, "Installation finished !\n\nVirtual Audio Driver", 45), 0);
    EXPECT_TRUE(warning.postClose);

    CommandOutcome unknown = handle({CMD_DONE, 130});
    EXPECT_EQ(unknown.boxText, nullptr);
    EXPECT_FALSE(unknown.postClose);
}

TEST_F(WindowCommands, IdIsComparedOnItsLow16BitsAndCodeInFull) {
    CommandOutcome outcome;
    decideCommand(0x12340000u | CMD_DONE, DONE_OK, &context, &outcome);
    EXPECT_TRUE(outcome.postClose);
    decideCommand(CMD_DONE, intptr_t(0x10000) | DONE_OK, &context, &outcome);
    EXPECT_FALSE(outcome.postClose);
    decideCommand(999, 0, &context, &outcome);
    EXPECT_EQ(outcome.boxText, nullptr);
    EXPECT_FALSE(outcome.endLoop);
}

TEST_F(WindowCommands, LaunchFailureBox) {
    CommandOutcome outcome;
    launchFailureBox(&outcome);
    EXPECT_STREQ(outcome.boxText, "Failed to launch Procedure...");
    EXPECT_STREQ(outcome.boxCaption, "QuillonOrvalo Installation Error");
    EXPECT_EQ(outcome.boxFlags, platform::MB_SYSTEM_MODAL | platform::MB_ICON_ERROR);
}
