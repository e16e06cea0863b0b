#include <gtest/gtest.h>

#include "app/paths.h"

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
