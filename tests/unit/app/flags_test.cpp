#include <gtest/gtest.h>

#include "app/context.h"
#include "app/flags.h"

namespace {

struct Flags {
    int32_t silent, install, uninstall;
    bool operator==(const Flags&) const = default;
};

Flags parse(const char* text) {
    silentFlag = installFlag = uninstallFlag = 0;
    parseCommandLine(text);
    return {silentFlag, installFlag, uninstallFlag};
}

}  // namespace

TEST(Flags, ShortOrMissingTextSetsNothing) {
    EXPECT_EQ(parse(nullptr), (Flags{0, 0, 0}));
    EXPECT_EQ(parse(""), (Flags{0, 0, 0}));
    EXPECT_EQ(parse("-"), (Flags{0, 0, 0}));
    EXPECT_EQ(parse("h"), (Flags{0, 0, 0}));
    EXPECT_EQ(parse("x-"), (Flags{0, 0, 0}));  // a hyphen at the very end
}

TEST(Flags, OnlyTheLetterRightAfterAHyphenCounts) {
    EXPECT_EQ(parse("-x"), (Flags{0, 0, 0}));
    EXPECT_EQ(parse("--i"), (Flags{0, 0, 0}));
    EXPECT_EQ(parse("-hi"), (Flags{1, 0, 0}));
    EXPECT_EQ(parse("-h -i"), (Flags{1, 1, 0}));
    EXPECT_EQ(parse("-H -U"), (Flags{1, 0, 1}));
    EXPECT_EQ(parse("-I"), (Flags{0, 1, 0}));
    EXPECT_EQ(parse("-i -u"), (Flags{0, 1, 1}));
    EXPECT_EQ(parse("---u"), (Flags{0, 0, 1}));  // "--" consumed, then "-u"
}

TEST(Flags, AHyphenInsideAWordOrPathCounts) {
    EXPECT_EQ(parse("C:\\my-updates\\x"), (Flags{0, 0, 1}));
    EXPECT_EQ(parse("a-hb"), (Flags{1, 0, 0}));
}

TEST(Flags, FlagsAccumulateAcrossCalls) {
    parse("-h");
    parseCommandLine("-u");
    EXPECT_EQ((Flags{silentFlag, installFlag, uninstallFlag}), (Flags{1, 0, 1}));
    silentFlag = installFlag = uninstallFlag = 0;
}
