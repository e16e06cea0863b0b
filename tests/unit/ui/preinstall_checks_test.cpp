// The uninstall-entry check, the same-setup check and the VAIO interface probe.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/context.h"
#include "platform/fake/fake_platform.h"
#include "ui/preinstall_checks.h"

namespace {

const std::string ENTRY32 =
    "HKLM\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QL:QuillonOrvalo "
    "{45CF77f2-4E06-4A39}";

using Found = std::pair<int, int>;  // entry found, same setup

class PreinstallChecks : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        strcpy(context.setupPath, "D:\\Downloads\\QuillonOrvalo_Setup.exe");
    }
    void TearDown() override { EXPECT_EQ(fake::leftOpen(), ""); }
    Found found() { return {uninstallEntryCheck(), sameSetupCheck(&context)}; }
    // Stores the entry's UninstallString, then runs both checks.
    Found checks(const std::string& text, platform::RegType type = platform::RegType::string,
                 const std::string& key = ENTRY32) {
        fake::setRegValue(key, "UninstallString", type, text + '\0');
        return found();
    }
    InstallerContext context{};
};

}  // namespace

TEST_F(PreinstallChecks, WhatCountsAsAnEntryAndWhatAsTheSameSetup) {
    EXPECT_EQ(found(), (Found{0, 1}));  // no entry at all
    EXPECT_EQ(checks("C:\\Q\\QuillonOrvalo_Setup.exe", platform::RegType::expandString),
              (Found{0, 1}));
    EXPECT_EQ(checks(""), (Found{1, 1}));  // an empty string counts and raises no objection
    // 1025 bytes do not fit the buffer, 1024 do.
    EXPECT_EQ(checks("C:\\" + std::string(1019, 'a') + ".exe"), (Found{0, 1}));
    EXPECT_EQ(checks("C:\\" + std::string(1016, 'a') + ".exe"), (Found{1, 0}));
    EXPECT_EQ(checks("C:\\Program Files\\QL\\quillonorvalo_SETUP.EXE"), (Found{1, 1}));
    // Quoted, as installs write it now: the program is inside the quotes, arguments after; and
    // no folder at all.
    EXPECT_EQ(checks("\"QuillonOrvalo_Setup.exe\" -h -u"), (Found{1, 1}));
    EXPECT_EQ(checks("\"C:\\QL\\Other_Setup.exe\" C:\\QuillonOrvalo_Setup.exe"), (Found{1, 0}));
}

TEST_F(PreinstallChecks, FallsBackToThe32BitViewAndTreatsAnUnopenableEntryAsAbsent) {
    fake::state().wow64 = false;  // KEY_READ now sees the native view, where there is no entry
    EXPECT_EQ(checks("C:\\QL\\Other.exe"), (Found{1, 0}));
    std::string native =
        "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QL:QuillonOrvalo "
        "{45CF77f2-4E06-4A39}";
    EXPECT_EQ(checks("C:\\QL\\QuillonOrvalo_Setup.exe", platform::RegType::string, native),
              (Found{1, 1}));
    fake::state().failing.insert("regOpen:*");
    EXPECT_EQ(found(), (Found{0, 1}));
}

TEST_F(PreinstallChecks, VaioInterfaceCountsEvenWhenItCannotBeOpened) {
    EXPECT_EQ(vaioInterfaceProbe(&context), 0);
    EXPECT_EQ(fake::eventsStartingWith("interface "),
              std::vector<std::string>{"interface {66CAA746-1518-4C53-B6E6-9E550A734FD1}"});
    EXPECT_EQ(context.installed + context.vaioInstalled + context.driverPresence, 0);
    fake::state().deviceOpen = platform::DeviceOpen::openFailed;
    EXPECT_EQ(vaioInterfaceProbe(&context), 1);
    EXPECT_EQ(context.installed + context.vaioInstalled + context.driverPresence, 3);
    fake::state().deviceOpen = platform::DeviceOpen::opened;
    EXPECT_EQ(vaioInterfaceProbe(&context), 1);
}
