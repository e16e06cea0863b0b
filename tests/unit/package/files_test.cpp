#include <gtest/gtest.h>

#include "platform/fake/fake_platform.h"
#include "package/entry_name.h"
#include "package/files.h"

TEST(FolderTree, CreatesEachMissingFolderBelowTheRootAndStopsAtTheFirstFailure) {
    fake::reset();
    // No path, one too short to have a folder below its root, one too long.
    EXPECT_EQ(createFolderTree(nullptr), 0);
    EXPECT_EQ(createFolderTree("C:\\a"), 0);
    EXPECT_EQ(createFolderTree("C:\\ab"), 1);  // five characters are enough
    EXPECT_EQ(createFolderTree("C:abc"), 1);  // nothing but its root: nothing to create
    EXPECT_EQ(createFolderTree(std::string(1024, 'a').c_str()), 0);
    EXPECT_EQ(createFolderTree("C:\\Program Files\\Quillon\\"), 1);  // a trailing "\" is the same
    EXPECT_EQ(createFolderTree("C:\\Program Files\\Quillon\\Drivers"), 1);  // existing is success
    // A network path keeps server and share as its root, never to be created, whatever Windows
    // would answer.
    fake::state().folders["\\\\server\\share"] = "\\\\server\\share";
    fake::state().failing.insert("createFolder:\\\\server\\share");
    EXPECT_EQ(createFolderTree("\\\\server\\share"), 1);
    EXPECT_EQ(createFolderTree("\\\\server\\share\\"), 1);
    EXPECT_EQ(createFolderTree("\\\\server\\share\\apps\\ql"), 1);
    fake::state().folders["\\abc"] = "\\abc";  // a path from the current drive's root
    EXPECT_EQ(createFolderTree("\\abc\\def"), 1);
    // A creation that fails fails the whole call.
    fake::state().failing.insert("createFolder:c:\\x\\y");
    EXPECT_EQ(createFolderTree("C:\\x\\y\\z"), 0);
    EXPECT_EQ(createFolderTree("C:\\x\\y"), 0);  // the last one too
    EXPECT_EQ(fake::eventsStartingWith("mkdir "),
              (std::vector<std::string>{
                  "mkdir C:\\ab", "mkdir C:\\Program Files", "mkdir C:\\Program Files\\Quillon",
                  "mkdir C:\\Program Files\\Quillon\\Drivers", "mkdir \\\\server\\share\\apps",
                  "mkdir \\\\server\\share\\apps\\ql", "mkdir \\abc\\def", "mkdir C:\\x"}));
}

TEST(WholeFile, WritesOrReportsEveryFailure) {
    fake::reset();
    EXPECT_EQ(writeWholeFile("C:\\out.bin", "abc", 3), 1);
    EXPECT_EQ(writeWholeFile("C:\\missing\\out.bin", "abc", 3), 0);  // cannot be opened
    fake::state().shortWriteBy = 1;
    EXPECT_EQ(writeWholeFile("C:\\out.bin", "abc", 3), 0);
}

TEST(EntryName, AcceptsPlainRelativeNamesUpTo127Bytes) {
    for (const char* name : {"a", "sub\\file.dll", ".hidden", "a..b", "...config", "x.."})
        EXPECT_TRUE(isSafeEntryName(name, 128)) << name;
    EXPECT_TRUE(isSafeEntryName(std::string(127, 'a').c_str(), 128));
}
