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

// From the shell (pinned by the install order test), else SHFOLDER, the Windows drive, C:.
TEST_F(InstallFolder, ExactlyOneSeparatorAndTheFallbacks) {
    fake::state().shellFolders[platform::CSIDL_PROGRAM_FILES_FOLDER] = "C:\\Program Files\\";
    EXPECT_EQ(determine(), "C:\\Program Files\\QL\\QuillonOrvalo");
    fake::state().shellFolders[platform::CSIDL_PROGRAM_FILES_FOLDER] = "E:\\Apps";
    for (auto call : {platform::ShellCall::missing, platform::ShellCall::failed}) {
        fake::state().specialFolderCall = call;
        EXPECT_EQ(determine(), "E:\\Apps\\QL\\QuillonOrvalo");
    }
    fake::state().folderPathCall = platform::ShellCall::failed;
    fake::state().windowsFolder = "D:\\WINNT";
    EXPECT_EQ(determine(), "D:\\Program Files\\QL\\QuillonOrvalo");
    fake::state().folderPathCall = platform::ShellCall::missing;
    fake::state().windowsFolder = "D:\\" + std::string(2100, 'w');  // longer than 2000
    EXPECT_EQ(determine(), "C:\\Program Files\\QL\\QuillonOrvalo");
    fake::state().windowsFolder = "";
    EXPECT_EQ(determine(), "C:\\Program Files\\QL\\QuillonOrvalo");
}

TEST_F(InstallMachine, SweepDeletesDelFilesButLeavesFoldersAndCountsWhatStays) {
    std::string folder = "C:\\Target";
    fake::state().folders[key(folder)] = folder;
    EXPECT_EQ(sweepStaleFiles(folder.c_str()), 0);
    fake::state().folders[key(folder + "\\x.del")] = folder + "\\x.del";
    fake::addFile(folder + "\\a.del", "");
    fake::addFile(folder + "\\QuillonOrvalo.DEL", "");
    fake::addFile(folder + "\\a.dll", "");
    EXPECT_EQ(sweepStaleFiles((folder + "\\").c_str()), 2);
    EXPECT_FALSE(fake::fileExists(folder + "\\a.del"));
    EXPECT_FALSE(fake::fileExists(folder + "\\QuillonOrvalo.DEL"));
    EXPECT_TRUE(fake::fileExists(folder + "\\a.dll"));
    EXPECT_TRUE(fake::folderExists(folder + "\\x.del"));
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
    size_t menuFiles() {
        size_t found = 0;
        for (const auto& file : fake::state().files)
            found += file.first.rfind(key(MENU_FOLDER) + "\\", 0) == 0;
        return found;
    }
};

// Targets, descriptions and working folders are pinned by the install order test and read back
// from the real shortcuts in e2e_install.
TEST_F(Shortcuts, FourOn64BitThreeOn32BitAndOneFailureStopsNoOther) {
    fake::state().failing.insert("saveShellLink:" + key(MENU_FOLDER + "\\Readme.LNK"));
    createShortcuts(context.get());
    EXPECT_EQ(menuFiles(), 3u);
    fake::state().failing.clear();
    createShortcuts(context.get());  // a rerun rewrites the same set
    EXPECT_EQ(menuFiles(), 4u);
    EXPECT_EQ(events("link ").size(), 3u + 4u);
    SetUp();
    context->is64BitSystem = 0;
    createShortcuts(context.get());
    EXPECT_EQ(menuFiles(), 3u);
    EXPECT_FALSE(fake::fileExists(MENU_FOLDER + "\\QuillonOrvalo x64.LNK"));
}

TEST_F(Shortcuts, NoneWithoutCommonProgramsFolderOrWhenTheMenuFolderCannotBeMade) {
    commonProgramsFolder[0] = 0;
    createShortcuts(context.get());
    EXPECT_TRUE(events("mkdir ").empty());
    snprintf(commonProgramsFolder, sizeof commonProgramsFolder, "%s", COMMON_PROGRAMS.c_str());
    fake::state().failing.insert("createFolder:" + key(COMMON_PROGRAMS + "\\Quillon"));
    createShortcuts(context.get());
    EXPECT_TRUE(events("link ").empty());
}

}  // namespace
}  // namespace install_test
