// The uninstall entry and the per-user settings as the registry ends up holding them.
#include "install/registry_records.h"

#include "install_fixture.h"

namespace install_test {
namespace {

const std::string ENTRY_32 =
    "HKLM\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QL:QuillonOrvalo "
    "{45CF77f2-4E06-4A39}";

TEST_F(InstallMachine, UninstallEntryLandsInThe32BitViewWithFourStringsAndOnlyOursChange) {
    fake::setRegValue(ENTRY_32, "InstallLocation", platform::RegType::string,
                      std::string("D:\\") + '\0');
    writeUninstallEntry("C:\\PF\\Setup.exe", 0);
    EXPECT_EQ(fake::key("HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QL:"
                        "QuillonOrvalo {45CF77f2-4E06-4A39}"),
              nullptr);
    ASSERT_EQ(fake::key(ENTRY_32)->size(), 5u);
    for (const auto& value : *fake::key(ENTRY_32))
        EXPECT_EQ(value.second.type, platform::RegType::string);
    // The terminator is part of the stored data.
    EXPECT_EQ(fake::key(ENTRY_32)->at("displayname").data,
              std::string("Quillon Orvalo, Audio Router") + '\0');
    EXPECT_EQ(fake::regString(ENTRY_32, "Publisher"), "Quillon Software");
    EXPECT_EQ(fake::regString(ENTRY_32, "UninstallString"), "C:\\PF\\Setup.exe");
    EXPECT_EQ(fake::regString(ENTRY_32, "DisplayIcon"), "C:\\PF\\Setup.exe");
    EXPECT_EQ(fake::regString(ENTRY_32, "InstallLocation"), "D:\\");
    writeUninstallEntry("C:\\x.exe", 1);
    EXPECT_EQ(fake::regString(ENTRY_32, "Publisher"), "Quillon");  // silent mode
}

TEST_F(InstallMachine, EachUninstallValueStandsAlone) {
    fake::state().failing.insert("regSet:" + key(ENTRY_32) + "\\uninstallstring");
    writeUninstallEntry("C:\\x.exe", 0);
    EXPECT_EQ(fake::regString(ENTRY_32, "UninstallString"), "<no value>");
    EXPECT_EQ(fake::regString(ENTRY_32, "DisplayIcon"), "C:\\x.exe");
    fake::state().failing.insert("regCreate:*");
    EXPECT_EQ(writeUninstallValue("SOFTWARE\\X", "t", "V"), 0);
    fake::setRegValue("HKLM\\SOFTWARE\\WOW6432Node\\X", "Other", platform::RegType::dword, "");
    EXPECT_EQ(writeUninstallValue("SOFTWARE\\X", "t", "V"), 1);  // opened, no create needed
}

TEST_F(InstallMachine, SettingsAreSixZeroDwordsDirectlyBelowTheUserHive) {
    fake::setRegValue("HKCU\\Quillon\\QuillonOrvalo", "SysTray", platform::RegType::dword,
                      std::string("\x05\0\0\0", 4));
    fake::setRegValue("HKCU\\Quillon\\QuillonOrvalo", "WindowX", platform::RegType::dword,
                      std::string("\x07\0\0\0", 4));
    EXPECT_EQ(resetApplicationSettings(), 1);
    EXPECT_EQ(events("reg ").size(), 6u);
    for (const char* path : {"HKCU\\Quillon\\QuillonOrvalo", "HKCU\\Quillon\\QuillonOrvaloZintho"})
        for (const char* name : {"systray", "systrayshowonrun", "enginemode"}) {
            EXPECT_EQ(fake::key(path)->at(name).type, platform::RegType::dword);
            EXPECT_EQ(fake::key(path)->at(name).data, std::string(4, '\0'));
        }
    EXPECT_EQ(fake::key("HKCU\\Quillon\\QuillonOrvalo")->at("windowx").data,
              std::string("\x07\0\0\0", 4));
}

TEST_F(InstallMachine, SettingsResultIsTheLastWriteAndEachValueStandsAlone) {
    fake::state().failing.insert("regSet:hkcu\\quillon\\quillonorvalo\\systray");
    EXPECT_EQ(resetApplicationSettings(), 1);
    EXPECT_EQ(events("reg ").size(), 5u);
    fake::state().failing.insert("regSet:hkcu\\quillon\\quillonorvalozintho\\enginemode");
    EXPECT_EQ(resetApplicationSettings(), 0);
    fake::state().failing.insert("regCreate:*");
    EXPECT_EQ(writeZeroSetting("Quillon\\Elsewhere", "SysTray"), 0);  // neither opened nor created
}

}  // namespace
}  // namespace install_test
