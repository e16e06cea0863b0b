// The removal after a complete install: its order and waits, and what each situation leaves.
#include <functional>

#include "../install/install_fixture.h"
#include "install/install.h"
#include "uninstall/uninstall.h"

namespace install_test {
namespace {
const std::string USER_MENU = "C:\\Users\\me\\Programs\\Quillon\\QuillonOrvalo";
const std::string STARTUP = "C:\\Users\\me\\Startup";
const std::string ENTRY = "HKLM\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\"
                          "Uninstall\\QL:QuillonOrvalo {45CF77f2-4E06-4A39}";
const std::string SHELL_FOLDERS =
    "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

const char* const VAIO_TEXT =
    "Failed to uninstall QuillonOrvalo virtual i/o driver...\nOne or several applications are "
    "still using it\nClose all possible programs using QuillonOrvalo\n(including control "
    "panels) and try to remove it again ";

const char* const SETUP_COPY = "I\\quillonorvalo_setup.exe";  // listed after what stopped the walk

struct Case {
    const char* name;
    std::function<void(InstallerContext*)> arrange;
    int32_t result;  // negative: nothing may change
    std::vector<std::string> residue;  // I install folder, U/M user/common menu, S startup,
                                       // K uninstall entry, O a folder outside them
    bool vaioRuns = true;
    const char* posted = nullptr;  // errorText of the one failure notice
};

class UninstallProcedure : public InstallMachine, public ::testing::WithParamInterface<Case> {
protected:
    void SetUp() override {
        InstallMachine::SetUp();
        ASSERT_EQ(runInstall(context.get()), 1);
        fake::setRegValue(SHELL_FOLDERS, "Programs", platform::RegType::string,
                          "C:\\Users\\me\\Programs" + std::string(1, '\0'));
        for (const std::string& folder : {USER_MENU, STARTUP, USER_MENU.substr(0, 28)})
            fake::state().folders[key(folder)] = folder;
        fake::addFile(USER_MENU + "\\Readme.LNK", "");
        fake::addFile(STARTUP + "\\QuillonOrvalo.LNK", "");
        fake::setRegValue("HKCU\\Quillon\\QuillonOrvalo", "SysTray", platform::RegType::dword,
                          std::string("\1\0\0\0", 4));
        snprintf(startupFolder, sizeof startupFolder, "%s", STARTUP.c_str());
        context->vaioInstalled = 1;
    }
    void TearDown() override {
        InstallMachine::TearDown();
        startupFolder[0] = 0;
    }
    static std::string setting() {
        return fake::key("HKCU\\Quillon\\QuillonOrvalo")->at("systray").data;
    }
    static std::vector<std::string> residue() {
        std::vector<std::string> out;
        auto note = [&](const std::string& path) {
            for (auto [from, to] :
                 {std::pair{INSTALL_FOLDER, "I"}, {USER_MENU, "U"}, {MENU_FOLDER, "M"},
                  {STARTUP + "\\Quillon", "S"}, {ENTRY, "K"}, {std::string("C:\\outside"), "O"}})
                if (path.rfind(key(from), 0) == 0) out.push_back(to + path.substr(from.size()));
        };
        for (auto* map : {&fake::state().files, &fake::state().folders, &fake::state().folderLinks})
            for (const auto& entry : *map) note(entry.first);
        for (const auto& entry : fake::state().keys) note(entry.first);
        std::sort(out.begin(), out.end());
        return out;
    }
};

TEST_P(UninstallProcedure, LeavesOnlyWhatCannotGo) {
    GetParam().arrange(context.get());
    std::vector<std::string> before = residue();
    fake::state().events.clear();
    EXPECT_EQ(runUninstall(context.get()), GetParam().result);
    EXPECT_EQ(residue(), GetParam().result < 0 ? before : GetParam().residue);
    EXPECT_TRUE(fake::folderExists(PROGRAM_FILES + "\\QL"));
    EXPECT_TRUE(fake::folderExists(COMMON_PROGRAMS + "\\Quillon"));
    EXPECT_EQ(events("start " + VAIO_SETUP).size(), GetParam().vaioRuns ? 1u : 0u);
    EXPECT_EQ(setting(), std::string(GetParam().result == 1 ? "\0\0\0\0" : "\1\0\0\0", 4));
    EXPECT_EQ(events("box ").size(), GetParam().result == 1 && !silentFlag ? 1u : 0u);
    EXPECT_EQ(events("post ").size(), GetParam().posted ? 1u : 0u);
    if (GetParam().posted) {
        EXPECT_EQ(std::string(context->errorText), GetParam().posted);
    }
}

using UninstallSteps = UninstallProcedure;

TEST_F(UninstallSteps, RunInOrder) {
    fake::addFile(INSTALL_FOLDER + "\\old.del", "");
    fake::state().events.clear();
    ASSERT_EQ(runUninstall(context.get()), 1);
    size_t at = 0;
    for (const std::string& step : std::vector<std::string>{
             "sleep 5000", "start " + VAIO_SETUP + "|-h -u -H|" + INSTALL_FOLDER,
          "call " + key(INSTALL_FOLDER) + "\\qlorvalo_vasio8_driver.dll DllUnregisterServer",
          "start " + REGISTRATION_TOOL + "| -u  -f" + INSTALL_FOLDER + "\\" + MODULES_64[0],
          "delete " + INSTALL_FOLDER + "\\old.del", "delete " + INSTALL_FOLDER + "\\readme.txt",
          "delete " + USER_MENU + "\\Readme.LNK", "delete " + MENU_FOLDER + "\\Readme.LNK",
          "delete " + STARTUP + "\\QuillonOrvalo.LNK", "reg hkcu\\quillon\\quillonorvalo\\SysTray",
          "regdelete " + key(ENTRY), "rmdir " + INSTALL_FOLDER, "box REBOOT YOUR SYSTEM"}) {
        auto& all = fake::state().events;
        auto found = std::find_if(all.begin() + at, all.end(),
                                  [&](const std::string& e) { return e.rfind(step, 0) == 0; });
        ASSERT_NE(found, all.end()) << step;
        at = size_t(found - all.begin());
    }
    EXPECT_EQ(events("sleep "), (std::vector<std::string>{"sleep 5000", "sleep 50", "sleep 50",
                                                          "sleep 50", "sleep 50"}));
}

void junction(InstallerContext*) {
    fake::addFile("C:\\outside\\keep.txt", "");
    fake::state().folders["c:\\outside"] = "C:\\outside";
    fake::state().folderLinks[key(INSTALL_FOLDER + "\\link")] = "C:\\outside";
}
void busy(const char* name) { fake::state().busyFiles.insert(key(INSTALL_FOLDER + "\\" + name)); }
void folderWithFile(const std::string& folder) {
    fake::state().folders[key(INSTALL_FOLDER + folder)] = "";
    fake::addFile(INSTALL_FOLDER + folder + "\\f", "");
}

INSTANTIATE_TEST_SUITE_P(Uninstall, UninstallProcedure, ::testing::Values(
    Case{"Complete", [](auto) {}, 1, {}},
    Case{"Silent", [](auto) { silentFlag = 1; }, 1, {}},
    Case{"NoPackage", [](auto) { fake::state().packagePresent = false; }, -101, {}, false,
         "Package uninstallation might be corrupted\nthanks to download official package at\n"
         "https://www.quillon-software.example."},
    Case{"FolderBeyondPathLimit", [](auto) {
        fake::state().shellFolders[platform::CSIDL_PROGRAM_FILES_FOLDER] = "C:\\" + std::string(240, 'p');
    }, -103, {}, false,
         "Failed to get target folder on system disk\nthanks to remove QuillonOrvalo manually..."},
    Case{"VaioNotInstalled", [](auto* c) { c->vaioInstalled = 0; }, 1, {}, false},
    Case{"BusyFilesDifferingInExtension", [](auto) {
        busy("qlorvalovaio64_win10.inf");
        busy("qlorvalovaio64_win10.sys");
    }, 1, {"I", "I\\qlorvalovaio64_win10.del", "I\\qlorvalovaio64_win10.sys", SETUP_COPY}},
    Case{"DotFolderNotEntered", [](auto) { folderWithFile("\\.cache"); }, 1,
         {"I", "I\\.cache", "I\\.cache\\f"}},
    Case{"UserMenuAsExpandString", [](auto) {
        fake::setRegValue(SHELL_FOLDERS, "Programs", platform::RegType::expandString,
                          "C:\\Users\\me\\Programs" + std::string(1, '\0'));
    }, 1, {"U", "U\\readme.lnk"}},
    Case{"SurvivingSubkeyEndsTheWalk", [](auto) {
        fake::setRegValue(ENTRY + "\\a", "v", platform::RegType::dword, "");
        fake::setRegValue(ENTRY + "\\b", "v", platform::RegType::dword, "");
        fake::state().failing.insert("regDelete:" + key(ENTRY + "\\a"));
    }, 1, {"K", "K\\a", "K\\b"}},
    Case{"SurvivingSubfolderEndsTheWalk", [](auto) {
        folderWithFile("\\a");
        folderWithFile("\\b");
        fake::state().failing.insert("removeFolder:" + key(INSTALL_FOLDER + "\\a"));
    }, 1, {"I", "I\\a", "I\\b", "I\\b\\f", SETUP_COPY}},
    Case{"LinkRemovedNotFollowed", junction, 1, {"O", "O\\keep.txt"}},
    Case{"UnsafeEntryNameSkipped", [](auto* c) {
        junction(c);
        strcpy(reinterpret_cast<PackageEntry*>(fake::state().package.data())->name,
               "..\\..\\..\\outside\\keep.txt");
    }, 1, {"O", "O\\keep.txt"}},
    Case{"VaioRemovalFails", [](auto) {
        fake::state().processes[key(VAIO_SETUP)] = exitingWith(int32_t(0x80000003));
    }, 1, {}, true, VAIO_TEXT}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace install_test
