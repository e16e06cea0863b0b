// System libraries are loaded only by their full path in the system folder; the shell folders
// come through them.
#include <gtest/gtest.h>

#include "app/context.h"
#include "app/shell_folders.h"
#include "app/system_libraries.h"
#include "platform/fake/fake_platform.h"

namespace {
const std::string SYSTEM = "C:\\Windows\\SysWOW64";
const char* const PROGRAMS = "C:\\ProgramData\\Start Menu\\Programs";
// A name outside the ANSI code page (full-width letters): 106 UTF-16 units, well within
// Windows' limit, but 286 bytes in UTF-8.
const std::string STARTUP = "C:\\Users\\" + fake::repeated("\uFF33", 90) + "\\Startup";

// The library events in order: search restrictions, loads and frees.
std::vector<std::string> libraryTrace() {
    std::vector<std::string> out;
    for (const std::string& event : fake::state().events)
        for (const char* prefix : {"dll search", "load ", "free "})
            if (event.rfind(prefix, 0) == 0) out.push_back(fake::lower(event));
    return out;
}

class SystemLibraries : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        fake::state().systemFolder = SYSTEM;
        for (const char* name : {"user32.dll", "shell32.dll", "shfolder.dll"})
            fake::state().modules[fake::lower(SYSTEM + "\\" + name)] = {};
        // Planted copies in the program's folder and at the drive's root, which a search by
        // bare name or a path without the system folder could find.
        fake::state().modules["shfolder.dll"] = fake::state().modules["\\shfolder.dll"] = {};
        fake::state().shellFolders[23] = PROGRAMS;
        fake::state().shellFolders[7] = STARTUP;
        commonProgramsFolder[0] = startupFolder[0] = 0;
    }
    void TearDown() override { EXPECT_EQ(fake::leftOpen(), ""); }
};
}  // namespace

// As at start-up: the shell folders, once, with the older shell's fallback. The only test to
// resolve them: the first resolution is the process's only one.
TEST_F(SystemLibraries, EveryLoadNamesTheSystemFolderAndTheShellFoldersAreResolvedOnce) {
    fake::state().specialFolderCall = platform::ShellCall::missing;
    resolveShellFolders();
    resolveShellFolders();  // does nothing: no library events of its own
    const std::string system = fake::lower(SYSTEM);
    std::vector<std::string> expected;
    for (const char* library : {"shell32", "shell32", "shfolder", "shfolder"})
        for (std::string event : {"dll search system32", "load ", "free "})
            expected.push_back(event.back() == ' ' ? event + system + "\\" + library + ".dll"
                                                   : event);
    EXPECT_EQ(libraryTrace(), expected);
    EXPECT_STREQ(commonProgramsFolder, PROGRAMS);  // the system SHFOLDER answered
    EXPECT_EQ(startupFolder, STARTUP);
}

// Only the all-users folder is created where missing: the user's Startup folder is wherever
// the person's own hive says.
TEST_F(SystemLibraries, ShellFoldersComeThroughTheShellAndWithoutEitherCallStayEmpty) {
    findShellFolders();
    EXPECT_STREQ(commonProgramsFolder, PROGRAMS);
    EXPECT_EQ(startupFolder, STARTUP);
    EXPECT_TRUE(fake::folderExists(PROGRAMS));
    EXPECT_FALSE(fake::folderExists(STARTUP));
    // One folder that the shell cannot give: SHFOLDER is asked for that one alone.
    fake::state().failing = {"specialFolderPath:7", "folderPath:23"};
    findShellFolders();
    EXPECT_STREQ(commonProgramsFolder, PROGRAMS);
    EXPECT_EQ(startupFolder, STARTUP);
    fake::state().specialFolderCall = platform::ShellCall::failed;  // SHFOLDER fills Startup again
    findShellFolders();
    EXPECT_EQ(startupFolder, STARTUP);
    fake::state().specialFolderCall = platform::ShellCall::missing;
    fake::state().folderPathCall = platform::ShellCall::missing;
    findShellFolders();
    EXPECT_STREQ(commonProgramsFolder, "");
    EXPECT_STREQ(startupFolder, "");
}

// Without a whole system folder nothing is loaded at all, rather than a library by bare name.
TEST_F(SystemLibraries, AnUnreadableSystemFolderLoadsNothing) {
    for (const std::string& folder : {std::string(), std::string(1000, 's')}) {
        fake::state().systemFolder = folder;
        fake::state().events.clear();
        EXPECT_EQ(loadSystemLibrary("SHFOLDER.DLL"), nullptr);
        shfolderFolder(23, commonProgramsFolder);
        EXPECT_TRUE(fake::eventsStartingWith("load ").empty()) << folder.size();
    }
}
