#include <gtest/gtest.h>

#include <tuple>

#include "app/context.h"
#include "app/flags.h"

TEST(Flags, OnlyTheLetterRightAfterAHyphenCounts) {
    const std::tuple<const char*, int32_t, int32_t, int32_t> cases[] = {
        {nullptr, 0, 0, 0}, {"", 0, 0, 0},      {"-", 0, 0, 0},     {"h", 0, 0, 0},
        {"x-", 0, 0, 0},    {"-x", 0, 0, 0},    {"--i", 0, 0, 0},   {"-hi", 1, 0, 0},
        {"-h -i", 1, 1, 0}, {"-H -U", 1, 0, 1}, {"-i -u", 0, 1, 1},
        {"---u", 0, 0, 1},  // "--" consumed, then "-u"
        {"C:\\my-updates\\x", 0, 0, 1},  // a hyphen inside a word or path counts
    };
    for (const auto& [text, silent, install, uninstall] : cases) {
        silentFlag = installFlag = uninstallFlag = 0;
        parseCommandLine(text);
        EXPECT_EQ(std::tuple(silentFlag, installFlag, uninstallFlag),
                  std::tuple(silent, install, uninstall))
            << (text ? text : "(null)");
    }
    silentFlag = installFlag = uninstallFlag = 0;
}
