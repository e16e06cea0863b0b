// Install folder determination, the stale-file sweep and the Start-menu shortcuts.
#include "install/install_folder.h"
#include "install/shortcuts.h"
#include "install_fixture.h"

namespace install_test {
namespace {

// From the shell (pinned by the install order test), else SHFOLDER, the Windows drive, C:.
TEST_F(InstallMachine, InstallFolderFallbacks) {
    auto determine = [this] {
        EXPECT_EQ(determineInstallFolder(context.get()), 0);
        return std::string(context->installFolder);
    };
    fake::state().shellFolders[platform::CSIDL_PROGRAM_FILES_FOLDER] = "E:\\Apps";
    for (auto call : {platform::ShellCall::missing, platform::ShellCall::failed}) {
        fake::state().specialFolderCall = call;
        EXPECT_EQ(determine(), "E:\\Apps\\QL\\QuillonOrvalo");
    }
    fake::state().folderPathCall = platform::ShellCall::failed;
    fake::state().windowsFolder = "D:\\WINNT";
    EXPECT_EQ(determine(), "D:\\Program Files\\QL\\QuillonOrvalo");
    fake::state().folderPathCall = platform::ShellCall::missing;
    for (size_t length : {1999u, 2000u}) {  // the longest Windows folder read whole, one more
        fake::state().windowsFolder = std::string(length, 'w').replace(0, 2, "D:");
        EXPECT_EQ(determine().substr(0, 2), length < 2000 ? "D:" : "C:");
    }
    fake::state().windowsFolder = "";
    EXPECT_EQ(determine(), "C:\\Program Files\\QL\\QuillonOrvalo");
}

// Counted are the deletions tried: a file held open stays and still counts; folders and other
// files are not matched at all, so the count alone shows they are left.
TEST_F(InstallMachine, SweepDeletesDelFilesButLeavesFoldersAndCountsWhatStays) {
    std::string folder = "C:\\Target";
    fake::state().folders[key(folder)] = folder;
    EXPECT_EQ(sweepStaleFiles(folder.c_str()), 0);
    EXPECT_EQ(sweepStaleFiles((folder + std::string(1020, 'x')).c_str()), 0);  // no "*.del" fits
    fake::state().folders[key(folder + "\\x.del")] = folder + "\\x.del";
    for (const char* name : {"\\a.del", "\\QuillonOrvalo.DEL", "\\a.dll", "\\busy.del"})
        fake::addFile(folder + name, "");
    fake::state().lockedFiles.insert(key(folder + "\\busy.del"));
    EXPECT_EQ(sweepStaleFiles((folder + "\\").c_str()), 3);
    EXPECT_FALSE(fake::fileExists(folder + "\\a.del"));
}

// Targets, descriptions and working folders, and all four on 64-bit Windows, are pinned by the
// install order test and read back from the real shortcuts in e2e_install.
TEST_F(InstallMachine, ShortcutsLeaveOutOnlyTheX64OneOn32BitAndOneFailureStopsNoOther) {
    context->is64BitSystem = 0;
    fake::state().failing.insert("saveShellLink:" + key(MENU_FOLDER + "\\QuillonOrvalo.LNK"));
    createShortcuts(context.get());
    EXPECT_EQ(events("link ").size(), 2u);  // Readme and Nalta-Screen
    EXPECT_FALSE(fake::fileExists(MENU_FOLDER + "\\QuillonOrvalo x64.LNK"));
}

// A name whose link file name, or a target whose folder, would not fit is refused, never cut.
TEST_F(InstallMachine, ShortcutRefusesANameOrFolderThatWouldNotFit) {
    const std::string name(295, 'n'), folder = "C:\\" + std::string(1020, 'f');  // both fill
    const std::tuple<std::string, std::string, std::string, int32_t> cases[] = {
        {name, folder + "\\x", "C:", 0},
        {name + "n", "C:\\x", "C:", int32_t(0x80070057)},
        {"n", "C:\\x", folder, int32_t(0x80070057)},  // its link path alone would not fit
        {"n", folder + "f\\x", "C:", int32_t(0x80070057)}};
    for (const auto& [linkName, target, in, result] : cases)
        EXPECT_EQ(createShortcut(linkName.c_str(), target.c_str(), in.c_str()), result) << target;
}

}  // namespace
}  // namespace install_test
