#include <gtest/gtest.h>

#include "platform/fake/fake_platform.h"
#include "package/entry_name.h"
#include "package/files.h"

namespace {

class FolderTree : public ::testing::Test {
protected:
    void SetUp() override { fake::reset(); }
    static std::vector<std::string> created() { return fake::eventsStartingWith("mkdir "); }
};

using Strings = std::vector<std::string>;

}  // namespace

TEST_F(FolderTree, RefusesMissingAndShortPaths) {
    EXPECT_EQ(createFolderTree(nullptr), 0);
    EXPECT_EQ(createFolderTree("C:\\a"), 0);
    EXPECT_EQ(createFolderTree(std::string(1024, 'a').c_str()), 0);
    EXPECT_TRUE(created().empty());
}

TEST_F(FolderTree, CreatesEachMissingFolderBelowTheDriveRoot) {
    EXPECT_EQ(createFolderTree("C:\\Program Files\\Quillon\\Drivers"), 1);
    EXPECT_EQ(created(), (Strings{"mkdir C:\\Program Files", "mkdir C:\\Program Files\\Quillon",
                                  "mkdir C:\\Program Files\\Quillon\\Drivers"}));
    // A trailing backslash names the same folder; nothing new, and existing is success.
    EXPECT_EQ(createFolderTree("C:\\Program Files\\Quillon\\Drivers\\"), 1);
    EXPECT_EQ(created().size(), 3u);
    EXPECT_EQ(createFolderTree("C:\\Users\\"), 1);
    EXPECT_EQ(created().back(), "mkdir C:\\Users");
}

TEST_F(FolderTree, NetworkPathsKeepServerAndShareAsTheRoot) {
    fake::state().folders["\\\\server\\share"] = "\\\\server\\share";
    EXPECT_EQ(createFolderTree("\\\\server\\share"), 1);
    EXPECT_EQ(createFolderTree("\\\\server\\share\\"), 1);
    EXPECT_TRUE(created().empty());
    EXPECT_EQ(createFolderTree("\\\\server\\share\\apps\\ql"), 1);
    EXPECT_EQ(created(), (Strings{"mkdir \\\\server\\share\\apps",
                                  "mkdir \\\\server\\share\\apps\\ql"}));
}

TEST_F(FolderTree, StopsAtTheFirstFailingCreation) {
    fake::state().failing.insert("createFolder:c:\\a\\b");
    EXPECT_EQ(createFolderTree("C:\\a\\b\\c"), 0);
    EXPECT_EQ(created(), (Strings{"mkdir C:\\a"}));
    // Once creation works again, a retry completes the tree.
    fake::state().failing.clear();
    EXPECT_EQ(createFolderTree("C:\\a\\b"), 1);
}

TEST(WholeFile, WritesOrReportsEveryFailure) {
    fake::reset();
    EXPECT_EQ(writeWholeFile("C:\\out.bin", "abc", 3), 1);
    EXPECT_EQ(fake::state().files["c:\\out.bin"], "abc");
    EXPECT_EQ(writeWholeFile("C:\\missing\\out.bin", "abc", 3), 0);  // cannot be opened
    fake::state().failing.insert("writeFileOnce:c:\\out.bin");
    EXPECT_EQ(writeWholeFile("C:\\out.bin", "abc", 3), 0);
    fake::state().failing.clear();
    fake::state().shortWriteBy = 1;
    EXPECT_EQ(writeWholeFile("C:\\out.bin", "abc", 3), 0);
    EXPECT_EQ(writeWholeFile("C:\\empty.bin", "", 0), 1);
}

TEST(EntryName, AcceptsPlainRelativeNames) {
    for (const char* name : {"readme.txt", "sub\\file.dll", "a\\b\\c", ".hidden", "a..b",
                             "...config", "x.."})
        EXPECT_TRUE(isSafeEntryName(name, 128)) << name;
    char full[128];
    memset(full, 'a', 127);
    full[127] = 0;
    EXPECT_TRUE(isSafeEntryName(full, sizeof full));
}
