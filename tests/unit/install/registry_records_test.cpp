// The uninstall entry and the per-user settings as the registry ends up holding them.
#include "install/registry_records.h"

#include "install_fixture.h"

namespace install_test {
namespace {

const std::string ENTRY_32 =
    "HKLM\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\"
    "Uninstall\\QL:QuillonOrvalo {45CF77f2-4E06-4A39}";
const std::string ENTRY_64 =
    "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
    "QL:QuillonOrvalo {45CF77f2-4E06-4A39}";

class RegistryRecords : public InstallMachine {};

TEST_F(RegistryRecords, UninstallEntryLandsInThe32BitViewWithFourStrings) {
    writeUninstallEntry("C:\\PF\\QL\\QuillonOrvalo\\Setup.exe", 0);
    const auto* values = fake::key(ENTRY_32);
    ASSERT_NE(values, nullptr);
    EXPECT_EQ(fake::key(ENTRY_64), nullptr);
    EXPECT_EQ(values->size(), 4u);
    for (const auto& value : *values) EXPECT_EQ(value.second.type, platform::RegType::string);
    EXPECT_EQ(fake::regString(ENTRY_32, "DisplayName"), "Quillon Orvalo, Audio Router");
    EXPECT_EQ(fake::regString(ENTRY_32, "Publisher"), "Quillon Software");
    EXPECT_EQ(fake::regString(ENTRY_32, "UninstallString"), "C:\\PF\\QL\\QuillonOrvalo\\Setup.exe");
    EXPECT_EQ(fake::regString(ENTRY_32, "DisplayIcon"), "C:\\PF\\QL\\QuillonOrvalo\\Setup.exe");
    // The terminator is part of the stored data.
    EXPECT_EQ(values->at("displayname").data, std::string("Quillon Orvalo, Audio Router") + '\0');
}

TEST_F(RegistryRecords, PublisherFollowsSilentMode) {
    writeUninstallEntry("C:\\x.exe", 1);
    EXPECT_EQ(fake::regString(ENTRY_32, "Publisher"), "Quillon");
}

TEST_F(RegistryRecords, OnlyOursAreRewrittenAndEachValueStandsAlone) {
    fake::setRegValue(ENTRY_32, "InstallLocation", platform::RegType::string,
                      std::string("D:\\") + '\0');
    fake::setRegValue(ENTRY_32, "Publisher", platform::RegType::string, std::string("Old") + '\0');
    fake::state().failing.insert("regSet:" + key(ENTRY_32) + "\\uninstallstring");
    writeUninstallEntry("C:\\x.exe", 0);
    EXPECT_EQ(fake::regString(ENTRY_32, "InstallLocation"), "D:\\");
    EXPECT_EQ(fake::regString(ENTRY_32, "Publisher"), "Quillon Software");
    EXPECT_EQ(fake::regString(ENTRY_32, "UninstallString"), "<no value>");
    EXPECT_EQ(fake::regString(ENTRY_32, "DisplayIcon"), "C:\\x.exe");
}

TEST_F(RegistryRecords, SettingsAreSixZeroDwordsDirectlyBelowTheUserHive) {
    fake::setRegValue("HKCU\\Quillon\\QuillonOrvalo", "SysTray", platform::RegType::dword,
                      std::string("\x05\0\0\0", 4));
    fake::setRegValue("HKCU\\Quillon\\QuillonOrvalo", "WindowX", platform::RegType::dword,
                      std::string("\x07\0\0\0", 4));
    EXPECT_EQ(resetApplicationSettings(), 1);
    EXPECT_EQ(events("reg "), (std::vector<std::string>{
                                  "reg hkcu\\quillon\\quillonorvalo\\SysTray = ",
                                  "reg hkcu\\quillon\\quillonorvalo\\SysTrayShowOnRun = ",
                                  "reg hkcu\\quillon\\quillonorvalo\\EngineMode = ",
                                  "reg hkcu\\quillon\\quillonorvalozintho\\SysTray = ",
                                  "reg hkcu\\quillon\\quillonorvalozintho\\SysTrayShowOnRun = ",
                                  "reg hkcu\\quillon\\quillonorvalozintho\\EngineMode = "}));
    for (const char* path : {"HKCU\\Quillon\\QuillonOrvalo", "HKCU\\Quillon\\QuillonOrvaloZintho"})
        for (const char* name : {"systray", "systrayshowonrun", "enginemode"}) {
            const auto& value = fake::key(path)->at(name);
            EXPECT_EQ(value.type, platform::RegType::dword);
            EXPECT_EQ(value.data, std::string(4, '\0'));
        }
    EXPECT_EQ(fake::key("HKCU\\Quillon\\QuillonOrvalo")->at("windowx").data,
              std::string("\x07\0\0\0", 4));
}

TEST_F(RegistryRecords, SettingsResultIsTheLastWrite) {
    fake::state().failing.insert("regSet:hkcu\\quillon\\quillonorvalo\\systray");
    EXPECT_EQ(resetApplicationSettings(), 1);
    EXPECT_EQ(events("reg ").size(), 5u);
    fake::state().failing.insert("regSet:hkcu\\quillon\\quillonorvalozintho\\enginemode");
    EXPECT_EQ(resetApplicationSettings(), 0);
}

TEST_F(RegistryRecords, KeyThatCanNeitherBeOpenedNorCreatedFailsThatValueOnly) {
    fake::state().failing.insert("regCreate:*");
    EXPECT_EQ(writeZeroSetting("Quillon\\QuillonOrvalo", "SysTray"), 0);
    EXPECT_EQ(writeUninstallValue("SOFTWARE\\X", "t", "V"), 0);
    fake::setRegValue("HKLM\\SOFTWARE\\WOW6432Node\\X", "Other", platform::RegType::dword, "");
    EXPECT_EQ(writeUninstallValue("SOFTWARE\\X", "t", "V"), 1);  // opened, no create needed
}

}  // namespace
}  // namespace install_test
