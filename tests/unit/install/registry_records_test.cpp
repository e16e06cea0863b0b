// The uninstall entry and the per-user settings as the registry ends up holding them.
#include "install/registry_records.h"

#include "install_fixture.h"

namespace install_test {
namespace {

std::string dword(uint32_t value) { return std::string(reinterpret_cast<char*>(&value), 4); }

// Every value in its order, type and content; one refused write leaves only that value out.
TEST_F(InstallMachine, EachUninstallValueStandsAlone) {
    using platform::RegType;
    const std::string copy = INSTALL_FOLDER + "\\QuillonOrvalo_Setup.exe";
    const struct {
        const char* name;
        RegType type;
        std::string data;  // as stored, strings with their terminator
    } values[] = {
        {"DisplayName", RegType::string, std::string("Quillon Orvalo, Audio Router", 29)},
        {"Publisher", RegType::string, std::string("Quillon Software", 17)},
        {"UninstallString", RegType::string, '"' + copy + '"' + '\0'},
        {"DisplayIcon", RegType::string, copy + '\0'},
        {"DisplayVersion", RegType::string, std::string("1.0.2.9", 8)},
        {"VersionMajor", RegType::dword, dword(1)},
        {"VersionMinor", RegType::dword, dword(0)},
        {"InstallLocation", RegType::string, INSTALL_FOLDER + '\0'},
        {"EstimatedSize", RegType::dword, dword(70000)},
        {"InstallDate", RegType::string, std::string("20310105", 9)},  // local time, padded
        {"QuietUninstallString", RegType::string, '"' + copy + "\" -h -u" + '\0'},
        {"NoModify", RegType::dword, dword(1)},
        {"NoRepair", RegType::dword, dword(1)},
        {"URLInfoAbout", RegType::string, std::string("https://quillon.example/", 25)},
    };
    for (const char* refused : {"", "DisplayName", "UninstallString", "EstimatedSize",
                                "InstallDate", "URLInfoAbout"}) {
        SCOPED_TRACE(refused);
        SetUp();
        fake::state().today = {2031, 1, 5};
        fake::state().failing.insert("regSet:" + key(ENTRY) + "\\" + fake::lower(refused));
        writeUninstallEntry(copy.c_str(), INSTALL_FOLDER.c_str(), 70000, 0);
        std::vector<std::string> order;
        for (const auto& value : values) {
            if (value.name == std::string(refused)) {
                EXPECT_FALSE(fake::key(ENTRY)->count(fake::lower(value.name)));
                continue;
            }
            order.push_back("reg " + key(ENTRY) + "\\" + value.name + " = " +
                            value.data.substr(0, value.data.find('\0')));
            const fake::RegValue& stored = fake::key(ENTRY)->at(fake::lower(value.name));
            EXPECT_EQ(stored.type, value.type) << value.name;
            EXPECT_EQ(stored.data, value.data) << value.name;
        }
        EXPECT_EQ(events("reg "), order);
    }
    // In quotes one byte beyond the value's room: both commands left out, never unquoted.
    SetUp();
    writeUninstallEntry(std::string(1024, 'a').c_str(), "C:\\a", 1, 0);
    EXPECT_EQ(fake::regString(ENTRY, "UninstallString"), "<no value>");
    EXPECT_EQ(fake::regString(ENTRY, "QuietUninstallString"), "<no value>");
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
