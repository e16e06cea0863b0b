// The window's decisions: which command the creation handler posts, and what each command does.
// The wrong-setup, restart, start-up failure and launch failure texts are read from the real
// boxes in e2e_spine.sh; here, what tells them apart.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

#include "app/context.h"
#include "platform/fake/fake_platform.h"
#include "ui/startup_command.h"

namespace {

class WindowCommands : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        memset(&context, 0, sizeof context);
        strcpy(context.setupPath, "C:\\QuillonOrvalo_Setup.exe");
        silentFlag = installFlag = uninstallFlag = 0;
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

TEST_F(WindowCommands, StartupDecisionTable) {
    // -h, -i, -u, the driver's presence, the entry's setup program (nullptr: no entry); the
    // command.
    const std::tuple<int32_t, int32_t, int32_t, int32_t, const char*, WindowCommand> cases[] = {
        {0, 0, 0, 0, nullptr, {}},                              // clean system
        {0, 0, 0, 12, "D:\\any\\QuillonOrvalo_Setup.exe", {}},  // presence unseen with an entry
        {0, 0, 0, 0, "C:\\QL\\Renamed_Setup.exe", {CMD_WRONG_SETUP, 0, false}},
        {0, 0, 0, 14, nullptr, {CMD_DRIVER_PRESENT, 0, false}},
        // Silent without -i or -u: the checks set the exit code, if any, and the program ends.
        {1, 0, 0, 1, nullptr, {CMD_DRIVER_PRESENT, 0, true}},
        {1, 0, 0, 0, "C:\\QL\\Renamed_Setup.exe", {0, 0, true}},
        {1, 0, 0, 0, nullptr, {0, 0, true}},
        {1, 1, 1, 0, nullptr, {CMD_AUTO, AUTO_INSTALL, false}},  // -i wins over -u
        {0, 0, 1, 0, nullptr, {CMD_AUTO, AUTO_UNINSTALL, false}},
        {0, 0, 1, 1, "C:\\QL\\R.exe", {CMD_AUTO, AUTO_UNINSTALL, false}},  // flags beat warnings
    };
    for (const auto& [silent, install, uninstall, presence, entrySetup, expected] : cases) {
        SetUp();
        silentFlag = silent, installFlag = install, uninstallFlag = uninstall;
        if (entrySetup) installedBy(entrySetup);
        context.driverPresence = presence;
        const WindowCommand got = startupCommand(&context);
        EXPECT_EQ(std::tuple(got.id, got.code, got.thenEnd),
                  std::tuple(expected.id, expected.code, expected.thenEnd))
            << silent << install << uninstall << " " << presence << " " << !!entrySetup;
    }
}

TEST_F(WindowCommands, AutomaticProceduresNeedTheRightStateAndAlwaysEndTheProgram) {
    // The code, installed, entry found; the exit code (0: left alone) and the procedure.
    const std::tuple<int32_t, int32_t, int32_t, int32_t, Procedure> cases[] = {
        {AUTO_INSTALL, 0, 0, 0, Procedure::installAndWait},  // the worker stores the result
        {AUTO_INSTALL, 1, 0, -4, Procedure::none},            // e.g. only the VAIO interface
        {AUTO_INSTALL, 0, 1, -4, Procedure::none},
        {AUTO_UNINSTALL, 0, 0, -4, Procedure::none},
        {AUTO_UNINSTALL, 1, 0, -4, Procedure::uninstall},  // its result replaces the -4
        {7, 0, 0, 0, Procedure::none},                     // an unknown code
    };
    for (const auto& [code, installed, entryFound, exitCode, procedure] : cases) {
        context.installed = installed, context.uninstallEntryFound = entryFound;
        CommandOutcome outcome = handle(CMD_AUTO, code);
        EXPECT_EQ(outcome.procedure, procedure) << code << installed << entryFound;
        EXPECT_EQ(outcome.setsExitCode ? outcome.exitCode : 0, exitCode) << code << installed;
        EXPECT_TRUE(outcome.endLoop) << code;
    }
}

TEST_F(WindowCommands, NoticesWarningsAndWhatFollowsThem) {
    strcpy(context.errorTitle, "QuillonOrvalo Installation Error");
    strcpy(context.errorText, "Something failed");
    const uint32_t error = platform::MB_SYSTEM_MODAL | platform::MB_ICON_ERROR;
    const uint32_t warning = platform::MB_SYSTEM_MODAL | platform::MB_ICON_WARNING;
    // The command and its code; the box's caption and the start of its text (nullptr: no box),
    // its flags, the exit code (0: left alone), then whether the window closes and the page opens.
    const std::tuple<uint32_t, int32_t, const char*, const char*, uint32_t, int32_t, bool, bool>
        cases[] = {
        {CMD_DONE, DONE_FAILED, context.errorTitle, "Something failed", error, 0, true, false},
        {0x12340000u | CMD_DONE, DONE_OK, "REBOOT YOUR SYSTEM",  // the id's high word is ignored
         "Installation Complete and Successful !\n\n", warning, 0, true, true},
        {CMD_DONE, DONE_VAIO_WARNING, "REBOOT YOUR SYSTEM",  // each paragraph by its own code
         "Installation finished !\n\nVirtual Audio Driver might not be installed correctly,\n"
         "Virtual inputs and outputs could not be available.\n\nThanks", warning, 0, true, true},
        {CMD_DONE, DONE_NOT_PLACED, "REBOOT YOUR SYSTEM",
         "Installation finished !\n\nThe setup program could not", warning, 0, true, true},
        {CMD_DONE, DONE_VAIO_WARNING_NOT_PLACED, "REBOOT YOUR SYSTEM",
         "Installation finished !\n\nVirtual Audio Driver might not be installed correctly,\n"
         "Virtual inputs and outputs could not be available.\n\nThe setup program could not",
         warning, 0, true, true},
        {CMD_DONE, int32_t(0x10000) | DONE_OK, nullptr, nullptr, 0, 0, false, false},  // unknown
        {999, 0, nullptr, nullptr, 0, 0, false, false},
        {CMD_WRONG_SETUP, 0, "Wrong Installation Program",
         "Current QuillonOrvalo version has been installed by another", error, -2, true, false},
        {CMD_DRIVER_PRESENT, 0, "Installation Issue",  // the window stays open
         "Quillon Driver presence has been detected. Check Quillon Orvalo drivers", warning, -3,
         false, false},
    };
    auto shown = [](const char* text) { return std::string(text ? text : "<no box>"); };
    for (const auto& [id, code, caption, text, flags, exit, postClose, openPage] : cases) {
        SCOPED_TRACE(std::to_string(id) + " " + std::to_string(code));
        CommandOutcome outcome = handle(id, code);
        EXPECT_EQ(shown(outcome.boxCaption), shown(caption));
        EXPECT_EQ(shown(outcome.boxText).rfind(shown(text), 0), 0u);
        EXPECT_EQ(outcome.boxFlags, flags);
        EXPECT_EQ(outcome.setsExitCode ? outcome.exitCode : 0, exit);
        EXPECT_EQ(std::tuple(outcome.postClose, outcome.openAfterInstallPage, outcome.endLoop),
                  std::tuple(postClose, openPage, false));
    }
    CommandOutcome startup, failed;
    launchFailureBox(&failed);
    EXPECT_STREQ(failed.boxCaption, "QuillonOrvalo Installation Error");
    startupFailureBox(true, &startup);  // no suite makes the class fail
    EXPECT_STREQ(startup.boxText, "Failed to register window class...");
    EXPECT_EQ(startup.boxFlags, platform::MB_ICON_WARNING);

    // Silent: no box at all (nobody could dismiss it), the codes stay.
    silentFlag = 1;
    for (uint32_t id : {CMD_WRONG_SETUP, CMD_DRIVER_PRESENT})
        EXPECT_TRUE(handle(id, 0).boxText == nullptr && handle(id, 0).setsExitCode);
    EXPECT_EQ(handle(CMD_DRIVER_PRESENT, 0).exitCode, -3);
    for (int32_t code : {DONE_FAILED, DONE_OK, DONE_VAIO_WARNING, DONE_NOT_PLACED})
        EXPECT_TRUE(handle(CMD_DONE, code).boxText == nullptr && !handle(CMD_DONE, code).postClose);
    startupFailureBox(true, &startup);
    launchFailureBox(&failed);
    EXPECT_TRUE(startup.boxText == nullptr && failed.boxText == nullptr);
}

// The worker posts its final notice before it clears busy: the close that follows the notice
// must wait for it, not be refused like the user's close while busy.
// (e2e_spine makes the user's close while busy.)
TEST_F(WindowCommands, CloseRequests) {
    EXPECT_EQ(closeStep(false, 0), CloseStep::end);
    EXPECT_EQ(closeStep(true, 1), CloseStep::endAfterWorker);
}

}  // namespace
