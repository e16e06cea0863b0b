#include <gtest/gtest.h>

#include "app/context.h"
#include "app/flags.h"

TEST(Flags, OnlyTheLetterRightAfterAHyphenCounts) {
    struct Case {
        const char* text;
        int32_t silent, install, uninstall;
    } cases[] = {
        {nullptr, 0, 0, 0}, {"", 0, 0, 0},      {"-", 0, 0, 0},     {"h", 0, 0, 0},
        {"x-", 0, 0, 0},    {"-x", 0, 0, 0},    {"--i", 0, 0, 0},   {"-hi", 1, 0, 0},
        {"-h -i", 1, 1, 0}, {"-H -U", 1, 0, 1}, {"-i -u", 0, 1, 1},
        {"---u", 0, 0, 1},  // "--" consumed, then "-u"
        {"C:\\my-updates\\x", 0, 0, 1},  // a hyphen inside a word or path counts
    };
    for (const Case& c : cases) {
        silentFlag = installFlag = uninstallFlag = 0;
        parseCommandLine(c.text);
        EXPECT_EQ(silentFlag, c.silent) << (c.text ? c.text : "(null)");
        EXPECT_EQ(installFlag, c.install) << (c.text ? c.text : "(null)");
        EXPECT_EQ(uninstallFlag, c.uninstall) << (c.text ? c.text : "(null)");
    }
    silentFlag = installFlag = uninstallFlag = 0;
}
