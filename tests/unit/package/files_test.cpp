#include <gtest/gtest.h>

#include "platform/fake/fake_platform.h"
#include "package/entry_name.h"
#include "package/files.h"

namespace {
using Strings = std::vector<std::string>;
Strings created() { return fake::eventsStartingWith("mkdir "); }
}  // namespace

TEST(FolderTree, CreatesEachMissingFolderBelowTheRootAndRefusesShortOrLongPaths) {
    fake::reset();
    EXPECT_EQ(createFolderTree(nullptr), 0);
    EXPECT_EQ(createFolderTree("C:\\a"), 0);
    EXPECT_EQ(createFolderTree(std::string(1024, 'a').c_str()), 0);
    EXPECT_EQ(createFolderTree("C:\\Program Files\\Quillon\\"), 1);  // a trailing "\" is the same
    EXPECT_EQ(createFolderTree("C:\\Program Files\\Quillon\\Drivers"), 1);  // existing is success
    EXPECT_EQ(created(), (Strings{"mkdir C:\\Program Files", "mkdir C:\\Program Files\\Quillon",
                                  "mkdir C:\\Program Files\\Quillon\\Drivers"}));
}

TEST(FolderTree, NetworkPathsKeepServerAndShareAsTheRoot) {
    fake::reset();
    fake::state().folders["\\\\server\\share"] = "\\\\server\\share";
    EXPECT_EQ(createFolderTree("\\\\server\\share\\"), 1);
    EXPECT_EQ(createFolderTree("\\\\server\\share\\apps\\ql"), 1);
    EXPECT_EQ(created(),
              (Strings{"mkdir \\\\server\\share\\apps", "mkdir \\\\server\\share\\apps\\ql"}));
}

TEST(FolderTree, StopsAtTheFirstFailingCreation) {
    fake::reset();
    fake::state().failing.insert("createFolder:c:\\a\\b");
    EXPECT_EQ(createFolderTree("C:\\a\\b\\c"), 0);
    EXPECT_EQ(created(), (Strings{"mkdir C:\\a"}));
}

TEST(WholeFile, WritesOrReportsEveryFailure) {
    fake::reset();
    EXPECT_EQ(writeWholeFile("C:\\out.bin", "abc", 3), 1);
    EXPECT_EQ(fake::state().files["c:\\out.bin"], "abc");
    EXPECT_EQ(writeWholeFile("C:\\empty.bin", "", 0), 1);
    EXPECT_EQ(writeWholeFile("C:\\missing\\out.bin", "abc", 3), 0);  // cannot be opened
    fake::state().failing.insert("writeFileOnce:c:\\out.bin");
    EXPECT_EQ(writeWholeFile("C:\\out.bin", "abc", 3), 0);
    fake::state().failing.clear();
    fake::state().shortWriteBy = 1;
    EXPECT_EQ(writeWholeFile("C:\\out.bin", "abc", 3), 0);
}

TEST(EntryName, AcceptsPlainRelativeNamesUpTo127Bytes) {
    for (const char* name : {"readme.txt", "sub\\file.dll", ".hidden", "a..b", "...config", "x.."})
        EXPECT_TRUE(isSafeEntryName(name, 128)) << name;
    EXPECT_TRUE(isSafeEntryName(std::string(127, 'a').c_str(), 128));
}
