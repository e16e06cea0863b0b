#include <gtest/gtest.h>

#include "app/context.h"
#include "app/shell_folders.h"
#include "platform/fake/fake_platform.h"

namespace {
const char* const PROGRAMS = "C:\\ProgramData\\Start Menu\\Programs";
const char* const STARTUP = "C:\\Users\\me\\Start Menu\\Programs\\Startup";
class ShellFolders : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        fake::state().shellFolders[23] = PROGRAMS;
        fake::state().shellFolders[7] = STARTUP;
        commonProgramsFolder[0] = startupFolder[0] = 0;
    }
};
}  // namespace

TEST_F(ShellFolders, ResolvedOnceThroughTheShell) {
    resolveShellFolders();
    EXPECT_STREQ(commonProgramsFolder, PROGRAMS);
    EXPECT_STREQ(startupFolder, STARTUP);
    fake::state().shellFolders[23] = "C:\\elsewhere";
    resolveShellFolders();  // the second call does nothing
    EXPECT_STREQ(commonProgramsFolder, PROGRAMS);
}

// The older shell's SHFOLDER fallback is followed in system_libraries_test.cpp.
TEST_F(ShellFolders, WithoutEitherShellCallTheyStayEmpty) {
    fake::state().specialFolderCall = platform::ShellCall::missing;
    fake::state().folderPathCall = platform::ShellCall::missing;
    findShellFolders();
    EXPECT_STREQ(commonProgramsFolder, "");
    EXPECT_STREQ(startupFolder, "");
}
