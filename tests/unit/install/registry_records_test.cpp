// The uninstall entry and the per-user settings as the registry ends up holding them.
#include "install/registry_records.h"

#include "install_fixture.h"

namespace install_test {
namespace {

TEST_F(InstallMachine, EachUninstallValueStandsAlone) {
    // In quotes one byte beyond the value's room: left out, never written unquoted.
    writeUninstallEntry(std::string(1024, 'a').c_str(), 0);
    EXPECT_EQ(fake::regString(ENTRY, "UninstallString"), "<no value>");
    fake::state().failing.insert("regSet:" + key(ENTRY) + "\\uninstallstring");
    writeUninstallEntry("C:\\x.exe", 0);
    EXPECT_EQ(fake::regString(ENTRY, "UninstallString"), "<no value>");
    EXPECT_EQ(fake::regString(ENTRY, "DisplayIcon"), "C:\\x.exe");
    fake::state().failing.insert("regCreate:*");
    EXPECT_EQ(writeUninstallValue("SOFTWARE\\X", "t", "V"), 0);
    fake::setRegValue("HKLM\\SOFTWARE\\WOW6432Node\\X", "Other", platform::RegType::dword, "");
    EXPECT_EQ(writeUninstallValue("SOFTWARE\\X", "t", "V"), 1);  // opened, no create needed
}

// Values, order and places are pinned by the install order test and read back in e2e_install.
TEST_F(InstallMachine, SettingsAreZeroDwordsAndEachValueStandsAlone) {
    fake::setRegValue("HKCU\\Quillon\\QuillonOrvalo", "SysTray", platform::RegType::dword,
                      std::string("\x05\0\0\0", 4));
    fake::state().failing.insert("regSet:hkcu\\quillon\\quillonorvalo\\systrayshowonrun");
    resetApplicationSettings();
    EXPECT_EQ(events("reg ").size(), 5u);
    for (const char* path : {"HKCU\\Quillon\\QuillonOrvalo", "HKCU\\Quillon\\QuillonOrvaloZintho"})
        for (const char* name : {"systray", "enginemode"}) {
            EXPECT_EQ(fake::key(path)->at(name).type, platform::RegType::dword);
            EXPECT_EQ(fake::key(path)->at(name).data, std::string(4, '\0'));
        }
    fake::state().failing.insert("regCreate:*");
    EXPECT_EQ(writeZeroSetting("Quillon\\Elsewhere", "SysTray"), 0);  // neither opened nor created
}

}  // namespace
}  // namespace install_test
