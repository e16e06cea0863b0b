// Install folder determination, the stale-file sweep and the Start-menu shortcuts.
#include "install/install_folder.h"
#include "install/shortcuts.h"
#include "install_fixture.h"

namespace install_test {
namespace {

class InstallFolder : public InstallMachine {
protected:
    std::string determine() {
        EXPECT_EQ(determineInstallFolder(context.get()), 0);
        return context->installFolder;
    }
};

TEST_F(InstallFolder, ComesFromTheShellWithExactlyOneSeparator) {
    EXPECT_EQ(determine(), INSTALL_FOLDER);
    fake::state().shellFolders[platform::CSIDL_PROGRAM_FILES_FOLDER] = "C:\\Program Files\\";
    EXPECT_EQ(determine(), "C:\\Program Files\\QL\\QuillonOrvalo");
}

TEST_F(InstallFolder, FallsBackToShFolderWhenTheShellCallIsMissingOrFails) {
    for (auto call : {platform::ShellCall::missing, platform::ShellCall::failed}) {
        fake::state().specialFolderCall = call;
        fake::state().shellFolders[platform::CSIDL_PROGRAM_FILES_FOLDER] = "E:\\Apps";
        EXPECT_EQ(determine(), "E:\\Apps\\QL\\QuillonOrvalo");
    }
}

TEST_F(InstallFolder, FallsBackToTheDriveOfTheWindowsFolder) {
    fake::state().specialFolderCall = platform::ShellCall::missing;
    fake::state().folderPathCall = platform::ShellCall::failed;
    fake::state().windowsFolder = "D:\\WINNT";
    EXPECT_EQ(determine(), "D:\\Program Files\\QL\\QuillonOrvalo");
}

TEST_F(InstallFolder, UsesDriveCWhenTheWindowsFolderIsTooLongOrHasNoDrive) {
    fake::state().specialFolderCall = platform::ShellCall::failed;
    fake::state().folderPathCall = platform::ShellCall::missing;
    fake::state().windowsFolder = "D:\\" + std::string(2100, 'w');  // longer than 2000
    EXPECT_EQ(determine(), "C:\\Program Files\\QL\\QuillonOrvalo");
    fake::state().windowsFolder = "";
    EXPECT_EQ(determine(), "C:\\Program Files\\QL\\QuillonOrvalo");
}

class StaleFileSweep : public InstallMachine {};

TEST_F(StaleFileSweep, DeletesDelFilesButLeavesFoldersAndOtherFiles) {
    std::string folder = "C:\\Target";
    fake::state().folders[key(folder)] = folder;
    fake::state().folders[key(folder + "\\x.del")] = folder + "\\x.del";
    fake::addFile(folder + "\\a.del", "");
    fake::addFile(folder + "\\QuillonOrvalo.DEL", "");
    fake::addFile(folder + "\\a.dll", "");
    EXPECT_EQ(sweepStaleFiles((folder + "\\").c_str()), 2);
    EXPECT_FALSE(fake::fileExists(folder + "\\a.del"));
    EXPECT_FALSE(fake::fileExists(folder + "\\QuillonOrvalo.DEL"));
    EXPECT_TRUE(fake::fileExists(folder + "\\a.dll"));
    EXPECT_TRUE(fake::folderExists(folder + "\\x.del"));
}

TEST_F(StaleFileSweep, CountsFilesThatCannotBeDeletedAndReturnsZeroWithoutMatches) {
    std::string folder = "C:\\Target";
    fake::state().folders[key(folder)] = folder;
    EXPECT_EQ(sweepStaleFiles(folder.c_str()), 0);
    fake::addFile(folder + "\\busy.del", "");
    fake::state().lockedFiles.insert(key(folder + "\\busy.del"));
    EXPECT_EQ(sweepStaleFiles(folder.c_str()), 1);
    EXPECT_TRUE(fake::fileExists(folder + "\\busy.del"));
}

class Shortcuts : public InstallMachine {
protected:
    void SetUp() override {
        InstallMachine::SetUp();
        snprintf(context->installFolder, sizeof context->installFolder, "%s",
                 INSTALL_FOLDER.c_str());
    }
    std::vector<std::string> linkNames() {
        std::vector<std::string> names;
        for (const auto& event : events("link "))
            names.push_back(event.substr(5 + MENU_FOLDER.size() + 1,
                                         event.find('|') - 5 - MENU_FOLDER.size() - 1));
        return names;
    }
};

TEST_F(Shortcuts, FourOn64BitWindowsEachWorkingInTheInstallFolder) {
    createShortcuts(context.get());
    EXPECT_EQ(linkNames(), (std::vector<std::string>{"Readme.LNK", "QuillonOrvalo.LNK",
                                                     "QuillonOrvalo x64.LNK", "Nalta-Screen.LNK"}));
    EXPECT_EQ(fake::state().files[key(MENU_FOLDER + "\\QuillonOrvalo x64.LNK")],
              INSTALL_FOLDER + "\\QuillonOrvalo_x64.exe|QuillonOrvalo x64|" + INSTALL_FOLDER);
    EXPECT_EQ(fake::state().files[key(MENU_FOLDER + "\\Nalta-Screen.LNK")],
              INSTALL_FOLDER + "\\NaltaScreen.exe|Nalta-Screen|" + INSTALL_FOLDER);
}

TEST_F(Shortcuts, ThreeOn32BitWindows) {
    context->is64BitSystem = 0;
    createShortcuts(context.get());
    EXPECT_EQ(linkNames(),
              (std::vector<std::string>{"Readme.LNK", "QuillonOrvalo.LNK", "Nalta-Screen.LNK"}));
}

TEST_F(Shortcuts, NoneWithoutCommonProgramsFolderOrWhenTheMenuFolderCannotBeMade) {
    commonProgramsFolder[0] = 0;
    createShortcuts(context.get());
    EXPECT_TRUE(events("link ").empty());
    EXPECT_TRUE(events("mkdir ").empty());

    snprintf(commonProgramsFolder, sizeof commonProgramsFolder, "%s", COMMON_PROGRAMS.c_str());
    fake::state().failing.insert("createFolder:" + key(COMMON_PROGRAMS + "\\Quillon"));
    createShortcuts(context.get());
    EXPECT_TRUE(events("link ").empty());
}

TEST_F(Shortcuts, RunningTwiceRewritesTheSameSet) {
    createShortcuts(context.get());
    createShortcuts(context.get());
    EXPECT_EQ(events("link ").size(), 8u);
    size_t inMenu = 0;
    for (const auto& file : fake::state().files)
        if (file.first.rfind(key(MENU_FOLDER) + "\\", 0) == 0) ++inMenu;
    EXPECT_EQ(inMenu, 4u);
}

TEST_F(Shortcuts, ShortcutCreationReturnsTheSaveResult) {
    fake::state().folders[key("C:\\Menu")] = "C:\\Menu";
    EXPECT_EQ(createShortcut("Readme", "C:\\Target\\readme.txt", "C:\\Menu\\"), 0);
    EXPECT_EQ(fake::state().files[key("C:\\Menu\\Readme.LNK")],
              "C:\\Target\\readme.txt|Readme|C:\\Target");
    fake::state().shellLinkResult = int32_t(0x80004005);
    EXPECT_EQ(createShortcut("Readme", "C:\\Target\\readme.txt", "C:\\Menu"), int32_t(0x80004005));
}

}  // namespace
}  // namespace install_test
