// Painting geometry, the texts drawn, and where a click lands.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "ui/layout.h"

namespace {
std::vector<int32_t> edges(const Rect32& r) { return {r.left, r.top, r.right, r.bottom}; }
using E = std::vector<int32_t>;
}  // namespace

// Not the real skin's 900 x 424, where the OS label's fixed top (390) is also the height - 34.
TEST(Layout, EveryElementFollowsTheSkinSize) {
    const WindowLayout l = layoutFor(800, 350);
    EXPECT_EQ(edges(l.skin), (E{0, 0, 800, 350}));
    EXPECT_EQ(edges(l.osLabel), (E{20, 390, 640, 350}));
    EXPECT_EQ(edges(l.osLabelShadow), (E{21, 391, 641, 351}));
    EXPECT_EQ(edges(l.panelFill), (E{0, 350, 801, 451}));
    EXPECT_EQ(edges(l.statusLine1), (E{20, 380, 800, 450}));
    EXPECT_EQ(edges(l.statusLine2), (E{20, 400, 800, 450}));
    EXPECT_EQ(edges(l.button), (E{480, 370, 780, 430}));
    EXPECT_EQ(edges(l.buttonOutline), (E{480, 370, 781, 431}));
    EXPECT_EQ(edges(l.busyLabel), (E{480, 370, 780, 415}));
    EXPECT_EQ(edges(l.busyStatusLine), (E{480, 410, 780, 430}));
}

TEST(Labels, OsButtonAndStatusTexts) {
    EXPECT_STREQ(osLabelFor(0), "O/S: < XP");
    EXPECT_STREQ(osLabelFor(6), "O/S: WIN8.1");
    EXPECT_STREQ(osLabelFor(8), "O/S: > WIN10");
    EXPECT_STREQ(osLabelFor(-1), "O/S: unknown");
    EXPECT_STREQ(osLabelFor(9), "O/S: unknown");
    EXPECT_STREQ(buttonLabelFor(0), "Install");
    EXPECT_STREQ(buttonLabelFor(1), "Remove");
    StatusLines lines;
    statusLinesFor(0, &lines);
    EXPECT_STREQ(lines.line1, "Ready to install ? Click the button right there...");
    EXPECT_STREQ(lines.line2, "it will install Quillon QuillonOrvalo on your system...");
    statusLinesFor(1, &lines);
    EXPECT_STREQ(lines.line1, "QuillonOrvalo is already installed...");
    EXPECT_STREQ(lines.line2, "previous version has to be removed before installing new one...");
}

// The real skin's button spans 580, 444 to 880, 504, below the skin's 424 rows.
TEST(Clicks, TheOutlineIsOutsideTheButtonAndCoordinatesAreSigned16Bit) {
    using enum ClickTarget;
    const Rect32 b = layoutFor(900, 424).button;
    const std::tuple<int32_t, int32_t, ClickTarget> clicks[] = {
        {581, 445, button}, {879, 503, button}, {700, 470, button},   // strictly inside
        {580, 470, nothing}, {880, 470, nothing}, {700, 444, nothing}, {700, 504, nothing},
        {10, 423, skin},     {10, 424, nothing},
    };
    for (const auto& [x, y, target] : clicks)
        EXPECT_EQ(clickTarget(b, 424, x, y), target) << x << "," << y;
    intptr_t lParam = intptr_t((uint32_t(uint16_t(-5)) << 16) | uint16_t(-3));
    EXPECT_EQ(pointX(lParam), -3);
    EXPECT_EQ(pointY(lParam), -5);
    EXPECT_EQ(pointY(intptr_t((470u << 16) | 700u)), 470);
}
