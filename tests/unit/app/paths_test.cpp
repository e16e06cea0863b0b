#include <gtest/gtest.h>

#include "app/paths.h"
#include "platform/fake/fake_platform.h"

// fileNameOf is pinned through the same-setup check in preinstall_checks_test.cpp; folderLength
// through the shortcuts' working folder and the extraction of a name with a folder.
TEST(Paths, JoinPutsExactlyOneSeparatorAndRefusesWhatDoesNotFit) {
    char out[8];
    ASSERT_TRUE(joinPath(out, "C:", "abcd"));  // "C:\abcd" is 7 characters + terminator
    EXPECT_STREQ(out, "C:\\abcd");
    ASSERT_TRUE(joinPath(out, "C:\\", "abcd"));
    EXPECT_STREQ(out, "C:\\abcd");
    EXPECT_FALSE(joinPath(out, "C:", "abcde"));
    EXPECT_STREQ(out, "");
    EXPECT_TRUE(copyText(out, "C:\\abcd") && !copyText(out, "C:\\abcde") && !out[0]);
}

// As Windows counts: one UTF-16 unit a character (a full-width S: three bytes in UTF-8), two
// beyond the first plane (a musical note: four bytes). 259 units are within the limit.
TEST(Paths, PathLimitCountsUtf16Units) {
    const std::string notes = "C:" + fake::repeated("\U0001F3B5", 128);
    EXPECT_TRUE(withinPathLimit((notes + "\uFF33").c_str()));
    EXPECT_FALSE(withinPathLimit((notes + "\U0001F3B5").c_str()));
}
