#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/context.h"
#include "platform/fake/fake_platform.h"
#include "ui/preinstall_checks.h"

namespace {

const std::string ENTRY32 =
    "HKLM\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
    "QL:QuillonOrvalo {45CF77f2-4E06-4A39}";
const std::string ENTRY64 =
    "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
    "QL:QuillonOrvalo {45CF77f2-4E06-4A39}";

std::string sz(const std::string& text) { return text + '\0'; }

class PreinstallChecks : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        memset(&context, 0, sizeof context);
        strcpy(context.setupPath, "D:\\Downloads\\QuillonOrvalo_Setup.exe");
    }
    void entry(platform::RegType type, const std::string& data, const std::string& key = ENTRY32) {
        fake::setRegValue(key, "UninstallString", type, data);
    }
    InstallerContext context;
};

}  // namespace

TEST_F(PreinstallChecks, NoEntryMeansNotInstalledAndNoObjection) {
    EXPECT_EQ(uninstallEntryCheck(), 0);
    EXPECT_EQ(sameSetupCheck(&context), 1);
    fake::setRegValue(ENTRY32, "DisplayName", platform::RegType::string, sz("x"));
    EXPECT_EQ(uninstallEntryCheck(), 0);  // the key alone is not an entry
}

TEST_F(PreinstallChecks, OnlyAPlainStringCounts) {
    entry(platform::RegType::expandString, sz("C:\\Q\\QuillonOrvalo_Setup.exe"));
    EXPECT_EQ(uninstallEntryCheck(), 0);
    EXPECT_EQ(sameSetupCheck(&context), 1);
    entry(platform::RegType::string, sz(""));
    EXPECT_EQ(uninstallEntryCheck(), 1);  // an empty string still counts...
    EXPECT_EQ(sameSetupCheck(&context), 1);  // ...and raises no objection
}

TEST_F(PreinstallChecks, ValueLongerThanTheBufferIsNoEntryAndNoObjection) {
    entry(platform::RegType::string, sz("C:\\" + std::string(1019, 'a') + ".exe"));  // 1025 bytes
    EXPECT_EQ(uninstallEntryCheck(), 0);
    EXPECT_EQ(sameSetupCheck(&context), 1);
    entry(platform::RegType::string, sz("C:\\" + std::string(1016, 'a') + ".exe"));  // 1024 bytes
    EXPECT_EQ(uninstallEntryCheck(), 1);
    EXPECT_EQ(sameSetupCheck(&context), 0);
}

TEST_F(PreinstallChecks, SameSetupComparesFileNamesIgnoringAsciiCase) {
    entry(platform::RegType::string, sz("C:\\Program Files\\QL\\quillonorvalo_SETUP.EXE"));
    EXPECT_EQ(uninstallEntryCheck(), 1);
    EXPECT_EQ(sameSetupCheck(&context), 1);
    entry(platform::RegType::string, sz("\"C:\\Program Files\\QL\\QuillonOrvalo_Setup.exe\""));
    EXPECT_EQ(sameSetupCheck(&context), 0);  // the file name ends with the quote
    entry(platform::RegType::string, sz("C:\\QL\\Other_Setup.exe"));
    EXPECT_EQ(sameSetupCheck(&context), 0);
    entry(platform::RegType::string, sz("QuillonOrvalo_Setup.exe"));  // no folder at all
    EXPECT_EQ(sameSetupCheck(&context), 1);
    strcpy(context.setupPath, "QuillonOrvalo_Setup.exe");
    EXPECT_EQ(sameSetupCheck(&context), 1);
}

TEST_F(PreinstallChecks, FallsBackToThe32BitView) {
    fake::state().wow64 = false;  // KEY_READ now sees the native view, where there is no entry
    entry(platform::RegType::string, sz("C:\\QL\\Other.exe"));
    EXPECT_EQ(uninstallEntryCheck(), 1);
    EXPECT_EQ(sameSetupCheck(&context), 0);
    entry(platform::RegType::string, sz("C:\\QL\\QuillonOrvalo_Setup.exe"), ENTRY64);
    EXPECT_EQ(sameSetupCheck(&context), 1);  // the default view is read first
}

TEST_F(PreinstallChecks, UnopenableEntryCountsAsAbsent) {
    entry(platform::RegType::string, sz("C:\\QL\\Other.exe"));
    fake::state().failing.insert("regOpen:*");
    EXPECT_EQ(uninstallEntryCheck(), 0);
    EXPECT_EQ(sameSetupCheck(&context), 1);
}

TEST_F(PreinstallChecks, VaioInterfaceCountsEvenWhenItCannotBeOpened) {
    EXPECT_EQ(vaioInterfaceProbe(&context), 0);
    EXPECT_EQ(context.installed + context.vaioInstalled + context.driverPresence, 0);

    fake::state().deviceOpen = platform::DeviceOpen::openFailed;
    EXPECT_EQ(vaioInterfaceProbe(&context), 1);
    EXPECT_EQ(context.installed, 1);
    EXPECT_EQ(context.vaioInstalled, 1);
    EXPECT_EQ(context.driverPresence, 1);
    EXPECT_TRUE(fake::eventsStartingWith("close handle").empty());

    fake::state().deviceOpen = platform::DeviceOpen::opened;
    EXPECT_EQ(vaioInterfaceProbe(&context), 1);
    EXPECT_EQ(fake::eventsStartingWith("close handle").size(), 1u);
}
