#include <gtest/gtest.h>

#include "app/context.h"
#include "app/shell_folders.h"
#include "platform/fake/fake_platform.h"

namespace {
class ShellFolders : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        fake::state().shellFolders[23] = "C:\\ProgramData\\Start Menu\\Programs";
        fake::state().shellFolders[7] = "C:\\Users\\me\\Start Menu\\Programs\\Startup";
        commonProgramsFolder[0] = startupFolder[0] = 0;
    }
};
}  // namespace

TEST_F(ShellFolders, ResolvedOnceThroughTheShell) {
    resolveShellFolders();
    EXPECT_STREQ(commonProgramsFolder, "C:\\ProgramData\\Start Menu\\Programs");
    EXPECT_STREQ(startupFolder, "C:\\Users\\me\\Start Menu\\Programs\\Startup");
    fake::state().shellFolders[23] = "C:\\elsewhere";
    resolveShellFolders();  // the second call does nothing
    EXPECT_STREQ(commonProgramsFolder, "C:\\ProgramData\\Start Menu\\Programs");
}

TEST_F(ShellFolders, OlderShellFallsBackToShfolder) {
    fake::state().specialFolderCall = platform::ShellCall::missing;
    findShellFolders();
    EXPECT_STREQ(commonProgramsFolder, "C:\\ProgramData\\Start Menu\\Programs");
    EXPECT_STREQ(startupFolder, "C:\\Users\\me\\Start Menu\\Programs\\Startup");
}

TEST_F(ShellFolders, NothingResolvedLeavesThemEmpty) {
    fake::state().specialFolderCall = platform::ShellCall::failed;
    fake::state().folderPathCall = platform::ShellCall::missing;
    findShellFolders();
    EXPECT_STREQ(commonProgramsFolder, "");
    EXPECT_STREQ(startupFolder, "");
}
