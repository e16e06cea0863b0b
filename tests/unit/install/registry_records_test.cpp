// The uninstall entry and the per-user settings as the registry ends up holding them.
#include "install/registry_records.h"

#include "package/package.h"

#include "install_fixture.h"

namespace install_test {
namespace {

// Each value is written on its own: a refused one is left out and no other.
TEST_F(InstallMachine, EachUninstallValueStandsAlone) {
    const std::string values[] = {
        "DisplayName", "Publisher", "UninstallString", "DisplayIcon", "DisplayVersion",
        "VersionMajor", "VersionMinor", "InstallLocation", "EstimatedSize", "InstallDate",
        "QuietUninstallString", "NoModify", "NoRepair", "URLInfoAbout"};
    // In quotes one byte beyond the value's room: both commands left out, never unquoted.
    writeUninstallEntry(std::string(1024, 'a').c_str(), "C:\\", 1, 0);
    EXPECT_EQ(fake::regString(ENTRY, "UninstallString"), "<no value>");
    EXPECT_EQ(fake::regString(ENTRY, "QuietUninstallString"), "<no value>");
    for (const std::string& refused : values) {
        SetUp();
        fake::state().failing.insert("regSet:" + key(ENTRY) + "\\" + fake::lower(refused));
        writeUninstallEntry("C:\\x.exe", "C:\\", 1, 0);
        for (const std::string& value : values)
            EXPECT_EQ(fake::key(ENTRY)->count(fake::lower(value)), value != refused) << value;
    }
    fake::state().failing.insert("regCreate:*");
    EXPECT_EQ(writeUninstallValue("SOFTWARE\\X", "t", "V"), 0);
    fake::setRegValue("HKLM\\SOFTWARE\\WOW6432Node\\X", "Other", platform::RegType::dword, "");
    EXPECT_EQ(writeUninstallValue("SOFTWARE\\X", "t", "V"), 1);  // opened, no create needed
}

// The rest of the entry's texts and types are read back under Wine (e2e_install).
TEST_F(InstallMachine, UninstallEntryGivesTheKilobytesWrittenAndAPaddedDate) {
    fake::state().package = ::buildPackage({2775}).bytes;  // 23 files of exactly 14 KB
    ASSERT_EQ(loadPackageDirectory(context.get()), 0);  // and the 32 KB + 529 B setup copy
    fake::state().today = {2031, 1, 5};
    writeUninstallEntry("C:\\x.exe", "C:\\", installedKilobytes(context.get()), 0);
    EXPECT_EQ(fake::key(ENTRY)->at("estimatedsize").data, std::string("\x2f\0\0\0", 4));
    for (const char* flag : {"nomodify", "norepair"})  // no Change or Repair button
        EXPECT_EQ(fake::key(ENTRY)->at(flag).data, std::string("\1\0\0\0", 4)) << flag;
    EXPECT_EQ(fake::regString(ENTRY, "InstallDate"), "20310105");
}

}  // namespace
}  // namespace install_test
