// The removal after a complete install: its order and waits, and what each situation leaves.
#include "../install/install_fixture.h"
#include "install/install.h"
#include "uninstall/key_remover.h"
#include "uninstall/uninstall.h"
#include "uninstall/user_folders.h"

namespace install_test {
namespace {
const std::string USER_MENU = "C:\\Users\\me\\Programs\\Quillon\\QuillonOrvalo";
const std::string STARTUP = "C:\\Users\\me\\Startup", OUTSIDE = "C:\\outside";
// Files that only administrators may delete, named like ours; and what an empty folder name
// would reach instead: the root of the current drive.
const std::string VICTIM = "C:\\windows\\system32\\victim1",
                  VICTIM_MENU = "C:\\windows\\system32\\victim2\\Quillon\\QuillonOrvalo";
const std::string KEPT[] = {OUTSIDE + "\\keep.txt", "\\QuillonOrvalo.LNK",
                            "\\Quillon\\QuillonOrvalo\\Readme.LNK", VICTIM + "\\Readme.LNK",
                            VICTIM + "\\Nalta-Screen.LNK", VICTIM + "\\QuillonOrvalo.LNK",
                            VICTIM_MENU + "\\Readme.LNK"};
const std::string DRIVERS_SEEN = PROGRAM_FILES + "\\QL\\drivers seen";
const std::string SHELL_FOLDERS =
    "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

void userPrograms(const std::string& value) {
    fake::setRegValue(SHELL_FOLDERS, "Programs", platform::RegType::string, value);
}
const char* const USER_MENU_LEFT = "U\\readme.lnk U V B ";
const char* const USER_FOLDERS_LEFT = "U\\readme.lnk Sorvalo.lnk U V B ";

struct Case {
    const char* name;
    void (*arrange)(InstallerContext*);
    int32_t result;
    // What is left and what ran: I install folder, U/M user/common menu folder, S autostart
    // shortcut, K uninstall entry, T the setting not reset, V the VAIO removal, D its driver
    // files beside it, B the box, P the notice posted, with its text; "=" for no change.
    const char* outcome;
};

class UninstallProcedure : public InstallMachine, public ::testing::WithParamInterface<Case> {
protected:
    void SetUp() override {
        InstallMachine::SetUp();
        ASSERT_EQ(runInstall(context.get()), 1);
        userPrograms(std::string("C:\\Users\\me\\Programs", 21));
        for (const std::string& folder : {USER_MENU, STARTUP, OUTSIDE, VICTIM, VICTIM_MENU})
            fake::addFolder(folder);
        for (const char* folder : {"C:\\windows", "C:\\ProgramData", "C:\\Program Files (x86)"})
            fake::state().adminOnly.insert(key(folder));
        for (const std::string& file : KEPT) fake::addFile(file, "");
        fake::addFile(USER_MENU + "\\Readme.LNK", "");
        fake::addFile(STARTUP + "\\QuillonOrvalo.LNK", "");
        fake::setRegValue("HKCU\\Quillon\\QuillonOrvalo", "SysTray", platform::RegType::dword,
                          "\1");
        snprintf(startupFolder, sizeof startupFolder, "%s", STARTUP.c_str());
        context->vaioInstalled = 1;
    }
    void TearDown() override {
        InstallMachine::TearDown();
        startupFolder[0] = 0;
    }
    std::string outcome() {
        std::string out;
        auto note = [&](const std::string& path) {
            for (auto [from, to] : {std::pair{INSTALL_FOLDER, "I"}, {USER_MENU, "U"},
                                    {MENU_FOLDER, "M"}, {STARTUP + "\\Quillon", "S"}, {ENTRY, "K"},
                                    {DRIVERS_SEEN, "D"}})
                if (path.rfind(key(from), 0) == 0) out += to + path.substr(from.size()) + " ";
        };
        for (auto* map : {&fake::state().files, &fake::state().folders, &fake::state().folderLinks})
            for (const auto& entry : *map) note(entry.first);
        for (const auto& entry : fake::state().keys) note(entry.first);
        if (fake::key("HKCU\\Quillon\\QuillonOrvalo")->at("systray").data[0]) out += "T ";
        if (!events("start " + VAIO_SETUP + "|-h -u -H|" + INSTALL_FOLDER).empty()) out += "V ";
        // Warning icon and system-modal, owned by the window.
        if (!events("box REBOOT YOUR SYSTEM|Restart System to finish the uninstallation!|flags "
                    "0x1030, owner 0x1234").empty())
            out += "B ";
        if (!events("post 180 127").empty()) out += std::string("P ") + context->errorText;
        return out;
    }
};

TEST_P(UninstallProcedure, LeavesOnlyWhatCannotGo) {
    GetParam().arrange(context.get());
    std::string before = outcome();
    fake::state().events.clear();
    EXPECT_EQ(runUninstall(context.get()), GetParam().result);
    const char* expected = GetParam().outcome;
    EXPECT_EQ(outcome(), expected[0] == '=' ? before + (expected + 1) : expected);
    EXPECT_STREQ(context->errorTitle, "QuillonOrvalo Uninstallation Error");
    EXPECT_EQ(context->installFolder[0] == 0, GetParam().result == 1);
    EXPECT_TRUE(fake::folderExists(PROGRAM_FILES + "\\QL") &&
                fake::folderExists(COMMON_PROGRAMS + "\\Quillon"));
    for (const std::string& file : KEPT) EXPECT_TRUE(fake::fileExists(file)) << file;
}

// The person's folders open only by plain "X:\name\..." paths: no other form, and no name
// that Windows would read otherwise (a stream after a colon, a dropped trailing dot or blank)
// or that is no UTF-8 (a character cut short).
TEST(UserFolders, OpenOnlyByPlainPathsFromADrive) {
    fake::reset();
    const std::string users = "C:\\Users\\", longest(PATH_BYTES - 1, 'x');
    const std::string opened[] = {"A:", "Z:", "c:\\Users\\a b", users + longest};
    const std::string refused[] = {
        users + "me.", users + "me ", users + "m:e", users + "m*e", users + "\x1f" "e",
        users + "m\x1f", users + "\xc5", users + "x" + longest, "C:/Users", "CX\\Users",
        "\\\\server\\share", "@:\\", "[:\\", "{:\\", "", "C:\\Users\\\\a b"};
    for (const std::string& path : opened) {
        fake::addFolder(path);
        platform::Handle folder = openUserFolder((path + "\\").c_str());
        EXPECT_NE(folder, nullptr) << path;
        if (folder) platform::closeFolder(folder);
    }
    for (const std::string& path : refused) {
        fake::addFolder(path);  // there, so that only the path's form refuses it
        EXPECT_EQ(openUserFolder(path.c_str()), nullptr) << path;
    }
}

using UninstallSteps = UninstallProcedure;

// Run where the window runs it, on its thread: each wait reads the window's messages often
// enough for Windows never to count it as not responding, and lasts as long as ever: the
// settle wait, the driver setup to its end, the registration tool to its limit.
TEST_F(UninstallSteps, RunInOrderAfterTheSettleWaitAnsweringTheWindow) {
    fake::state().processes[key(REGISTRATION_TOOL)].runsMs = 60000;
    platform::markWindowThread();
    fake::state().events.clear();
    const uint64_t start = fake::state().clockMs;
    ASSERT_EQ(runUninstall(context.get()), 1);
    std::string kinds = " ";  // each kind of call once for a run of them
    for (const std::string& event : fake::state().events)
        if (std::string kind = event.substr(0, event.find(' ')) + " "; !kinds.ends_with(" " + kind))
            kinds += kind;
    // "dll load free": the install folder is asked of the shell, before and after the rest;
    // "act": the person's folders are cleaned as the person, the rest as this process.
    std::string module = "load call cofree sleep ", folder = "dll load free ";
    EXPECT_EQ(kinds, " " + folder + "sleep start " + module + module + module + module +
                         "start delete act delete rmdir act delete rmdir act delete act reg "
                         "regdelete " +
                         folder + "delete rmdir box ");
    EXPECT_LT(fake::state().longestUnreadMs, fake::NOT_RESPONDING_AFTER_MS);
    EXPECT_EQ(fake::state().clockMs - start, 5000 + 20000 + 4 * 50 + 4 * 10000);
    for (uint32_t ms : {0u, 499u, 1250u}) {  // other lengths, no multiples of the slices
        const uint64_t before = fake::state().clockMs;
        platform::sleepMs(ms);
        EXPECT_EQ(fake::state().clockMs - before, ms);
    }
}

// Names outside the ANSI code page take two or three bytes a character in UTF-8, which
// Windows' path limit does not count: the folder (150 units, 280 bytes), a file in it of a
// long name and the person's menu folder below a name of 260 bytes are all within it, and all
// go.
TEST_F(InstallMachine, RemovalTakesPathsWithinTheLimitThatAreLongerInUtf8) {
    const std::string person = "C:\\" + fake::repeated("\u0141", 130);  // an L with stroke
    const std::string folder = person + "\\QL\\QuillonOrvalo";
    const std::string menu = person + "\\Quillon\\QuillonOrvalo";
    fake::state().shellFolders[platform::CSIDL_PROGRAM_FILES_FOLDER] = person;
    ASSERT_EQ(runInstall(context.get()), 1);
    fake::addFile(folder + "\\" + fake::repeated("\uFF33", 90), "");  // full-width S
    userPrograms(person + '\0');
    fake::addFolder(menu);
    fake::addFile(menu + "\\Readme.LNK", "");
    EXPECT_EQ(runUninstall(context.get()), 1);
    EXPECT_FALSE(fake::folderExists(folder) || fake::fileExists(menu + "\\Readme.LNK"));
    EXPECT_EQ(events("start " + folder + "\\QLOrvaloVAIO_Setup_x64.exe|-h -u -H|").size(), 1u);
}

void folderWithFile(const char* name) {
    fake::state().folders[key(INSTALL_FOLDER + name)] = "";
    fake::addFile(INSTALL_FOLDER + name + "\\f", "");
}

// As a removal leaves it whose driver removal failed; the VAIO setup notes whether it found
// the driver files beside it.
void installFolderGone() {
    for (auto* map : {&fake::state().files, &fake::state().folders})
        std::erase_if(*map, [](const auto& e) { return e.first.starts_with(key(INSTALL_FOLDER)); });
    fake::state().processes[key(VAIO_SETUP)].onRun = [] {
        for (int i = 4; i < 8; ++i)
            if (!fake::fileExists(INSTALL_FOLDER + "\\" + PACKAGE_FILE_NAMES[i])) return;
        fake::addFile(DRIVERS_SEEN, "");
    };
}

INSTANTIATE_TEST_SUITE_P(Uninstall, UninstallProcedure, ::testing::Values(
    Case{"Complete", [](auto) {}, 1, "V B "},
    Case{"Silent", [](auto) { silentFlag = 1; }, 1, "V "},
    Case{"NoPackage", [](auto) { fake::state().packagePresent = false; }, -101,
         "=P Package uninstallation might be corrupted\nthanks to download official package at\n"
         "https://www.quillon-software.example."},
    Case{"FolderBeyondPathLimit", [](auto) {
        // 243 + 17 characters: one more than the ANSI calls take
        std::string programFiles = "C:\\" + std::string(240, 'p');
        fake::state().shellFolders[platform::CSIDL_PROGRAM_FILES_FOLDER] = programFiles;
    }, -103, "=P Failed to get target folder on system disk\nthanks to remove QuillonOrvalo "
             "manually..."},
    Case{"VaioNotInstalled", [](auto* c) { c->vaioInstalled = 0; }, 1, "B "},
    Case{"VaioServiceWithoutInterface", [](auto* c) {  // a driver that never started
        c->vaioInstalled = 0;
        fake::setRegValue("HKLM\\SYSTEM\\CurrentControlSet\\Services\\QLOrvaloVAIO", "Type",
                          platform::RegType::dword, "\1");
    }, 1, "V B "},
    Case{"VaioDeviceWithoutInterface", [](auto* c) {
        c->vaioInstalled = 0;
        fake::state().deviceHardwareIds.insert("root\\qlorvalovaio");
    }, 1, "V B "},
    Case{"VaioProgramWithoutX64NotStartedOn32BitWindows", [](auto* c) {
        c->is64BitSystem = 0;  // not installed: started, it would fail
        fake::state().processes[key(INSTALL_FOLDER + "\\QLOrvaloVAIO_Setup.exe")] = exitingWith(-1);
    }, 1, "B "},
    Case{"VaioExitMinusOneFails", [](auto) {
        fake::state().processes[key(VAIO_SETUP)] = exitingWith(-1);
    }, 1, "V B P Failed to uninstall QuillonOrvalo virtual i/o driver...\nOne or several "
          "applications are still using it\nClose all possible programs using QuillonOrvalo\n"
          "(including control panels) and try to remove it again "},
    Case{"BusyFilesDifferingInExtension", [](auto) {  // and one without: it keeps its name
        strcpy(reinterpret_cast<PackageEntry*>(fake::state().package.data())->name, "x");
        fake::addFile(INSTALL_FOLDER + "\\x", "");
        for (const char* name : {"\\qlorvalovaio64_win10.inf", "\\qlorvalovaio64_win10.sys", "\\x"})
            fake::state().busyFiles.insert(key(INSTALL_FOLDER + name));
        fake::addFile(INSTALL_FOLDER + "\\zz.del", "");  // an earlier one's: swept first
    }, 1, "I\\qlorvalovaio64_win10.del I\\qlorvalovaio64_win10.sys "
          "I\\quillonorvalo_setup.exe I\\readme.txt I\\x I V B "},
    Case{"DotFolderNotEntered", [](auto) { folderWithFile("\\.cache"); }, 1,
         "I\\.cache\\f I I\\.cache V B "},
    Case{"VaioProgramWrittenAgain", [](auto) { installFolderGone(); }, 1, "D V B "},
    Case{"UserMenuKeepsThePersonsOwn", [](auto) {
        for (const char* name : {"\\notes.txt", "\\QuillonOrvalo.LNK", "\\Nalta-Screen.LNK"})
            fake::addFile(USER_MENU + name, "");
    }, 1, "U\\notes.txt U V B "},
    // The person's folders are theirs to point anywhere: through a link, or at files that
    // only administrators may delete; their rights are theirs, where this process has them.
    Case{"UserFoldersThroughLinksLeftAlone", [](auto) {  // a link last, and one earlier, on the way
        fake::addFolder("C:\\Users\\me\\Evil\\Quillon");
        fake::state().folderLinks[key("C:\\Users\\me\\Evil\\Quillon\\QuillonOrvalo")] = VICTIM;
        fake::state().folderLinks[key("C:\\Users\\me\\Linked")] = "C:\\windows\\system32";
        userPrograms("C:\\Users\\me\\Evil");
        strcpy(startupFolder, "C:\\Users\\me\\Linked\\victim1");
    }, 1, USER_FOLDERS_LEFT},
    Case{"PersonCannotDeleteWhatOnlyAdministratorsMay", [](auto) {
        userPrograms("C:\\windows\\system32\\victim2");
        strcpy(startupFolder, VICTIM.c_str());
    }, 1, USER_FOLDERS_LEFT},
    Case{"NoLinkedTokenActsWithItsOwnRights", [](auto) {  // the system account, or UAC off
        fake::state().personRights = platform::PersonRights::own;
        fake::state().adminOnly.insert(key("C:\\Users\\me"));
    }, 1, "V B "},
    Case{"NothingAsAPersonWhoseRightsCannotBeHad", [](auto) {
        fake::state().personRights = platform::PersonRights::unavailable;
    }, 1, USER_FOLDERS_LEFT},
    Case{"UserMenuWithoutShellFoldersKey",
         [](auto) { fake::state().keys.erase(key(SHELL_FOLDERS)); }, 1, USER_MENU_LEFT},
    Case{"EmptyUserMenuNotTakenAsRoot", [](auto) { userPrograms({'\0'}); }, 1, USER_MENU_LEFT},
    Case{"UserMenuFillingTheBuffer", [](auto) {
        userPrograms(std::string("C:\\Users\\me\\Programs").append(4076, '\0'));
    }, 1, "V B "},
    Case{"UserMenuOverTheBuffer", [](auto) {
        userPrograms(std::string("C:\\Users\\me\\Programs").append(4077, '\0'));
    }, 1, USER_MENU_LEFT},
    Case{"UserMenuUnendedNotReadPast", [](auto) { userPrograms(std::string(4096, 'a')); }, 1,
         USER_MENU_LEFT},
    Case{"EmptyCommonMenuAndStartupNotTakenAsRoot", [](auto) {
        commonProgramsFolder[0] = startupFolder[0] = 0;
    }, 1, "M\\nalta-screen.lnk M\\quillonorvalo x64.lnk M\\quillonorvalo.lnk M\\readme.lnk "
          "Sorvalo.lnk M V B "},
    Case{"UserMenuAsExpandString", [](auto) {
        fake::setRegValue(SHELL_FOLDERS, "Programs", platform::RegType::expandString,
                          std::string("C:\\Users\\me\\Programs", 21));
    }, 1, "U\\readme.lnk U V B "},
    Case{"SurvivorsEndTheWalk", [](auto) {
        folderWithFile("\\a");
        folderWithFile("\\b");
        fake::state().failing.insert("removeFolder:" + key(INSTALL_FOLDER + "\\a"));
        for (const char* name : {"\\a", "\\b"})
            fake::setRegValue(ENTRY + name, "v", platform::RegType::dword, "");
        fake::state().failing.insert("regDelete:" + key(ENTRY + "\\a"));
    }, 1, "I\\b\\f I\\quillonorvalo_setup.exe I I\\a I\\b K K\\a K\\b V B "},
    Case{"KeyThatCannotBeListedEndsTheWalk", [](auto) {  // it was named again for ever
        fake::setRegValue(ENTRY + "\\a\\x", "v", platform::RegType::dword, "");
        fake::state().failing.insert("regEnum:" + key(ENTRY + "\\a"));
    }, 1, "K K\\a K\\a\\x V B "},
    Case{"LinksBehindATrailingBlankOrDotNotEntered", [](auto) {
        for (const char* name : {"\\x ", "\\y."})
            fake::state().folderLinks[key(INSTALL_FOLDER + name)] = OUTSIDE;
    }, 1, "I I\\x  I\\y. V B "},
    Case{"FolderTurnedIntoALinkOnceEmptied", [](auto) {
        folderWithFile("\\sub");
        fake::state().onEvent = [](const std::string& event) {
            if (event == "delete " + INSTALL_FOLDER + "\\sub\\f")
                fake::replaceFolderWithLink(INSTALL_FOLDER + "\\sub", OUTSIDE);
        };
    }, 1, "V B "},
    Case{"LinkAndUnsafeNameLeadNowhere", [](auto) {
        fake::state().folderLinks[key(INSTALL_FOLDER + "\\link")] = OUTSIDE;
        strcpy(reinterpret_cast<PackageEntry*>(fake::state().package.data())->name,
               "..\\..\\..\\outside\\keep.txt");
    }, 1, "V B "}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace install_test

namespace install_test {
// The entry's key goes with every key below it; a key that cannot go, or cannot even be opened,
// keeps the keys above it, and the walk ends rather than naming it again for ever.
TEST(KeyTree, GoesWithItsSubkeysOrKeepsWhatHoldsOne) {
    for (const char* refused : {"", "regDelete:hklm\\t\\e\\a\\x", "regOpen:hklm\\t\\e\\a"}) {
        SCOPED_TRACE(refused);
        bool stuck = *refused;
        fake::reset();
        for (const char* key : {"HKLM\\T\\E", "HKLM\\T\\E\\A\\X", "HKLM\\T\\E\\B", "HKLM\\T\\F"})
            fake::setRegValue(key, "v", platform::RegType::string, "1");
        fake::state().failing.insert(refused);
        platform::Handle root = platform::regRoot(platform::RegRoot::localMachine);
        EXPECT_EQ(removeKeyTree(root, "T\\E"), stuck ? 0 : 1);
        std::string left;
        for (const auto& [path, values] : fake::state().keys) left += path + " ";
        EXPECT_EQ(left, stuck ? "hklm hklm\\t hklm\\t\\e hklm\\t\\e\\a hklm\\t\\e\\a\\x "
                                "hklm\\t\\e\\b hklm\\t\\f "
                              : "hklm hklm\\t hklm\\t\\f ");
        EXPECT_EQ(fake::leftOpen(), "");
    }
}
}  // namespace install_test
