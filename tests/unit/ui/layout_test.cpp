// Painting geometry, the texts drawn, and where a click lands.
#include <gtest/gtest.h>

#include <vector>

#include "ui/layout.h"

namespace {
std::vector<int32_t> edges(const Rect32& r) { return {r.left, r.top, r.right, r.bottom}; }
using E = std::vector<int32_t>;
}  // namespace

TEST(Layout, EveryElementFollowsTheSkinSize) {
    WindowLayout l = layoutFor(900, 424);
    EXPECT_EQ(edges(l.skin), (E{0, 0, 900, 424}));
    EXPECT_EQ(edges(l.osLabel), (E{20, 390, 740, 424}));
    EXPECT_EQ(edges(l.osLabelShadow), (E{21, 391, 741, 425}));
    EXPECT_EQ(edges(l.panelFill), (E{0, 424, 901, 525}));
    EXPECT_EQ(edges(l.statusLine1), (E{20, 454, 900, 524}));
    EXPECT_EQ(edges(l.statusLine2), (E{20, 474, 900, 524}));
    EXPECT_EQ(edges(l.button), (E{580, 444, 880, 504}));
    EXPECT_EQ(edges(l.buttonOutline), (E{580, 444, 881, 505}));
    EXPECT_EQ(edges(l.busyLabel), (E{580, 444, 880, 489}));
    EXPECT_EQ(edges(l.busyStatusLine), (E{580, 484, 880, 504}));
    l = layoutFor(640, 300);
    EXPECT_EQ(edges(l.osLabel),
              (E{20, 390, 480, 300}));  // the label's top is fixed, its right follows W
    EXPECT_EQ(edges(l.panelFill), (E{0, 300, 641, 401}));
    EXPECT_EQ(edges(l.button), (E{320, 320, 620, 380}));
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

TEST(Clicks, TheOutlineIsOutsideTheButtonAndCoordinatesAreSigned16Bit) {
    Rect32 button = layoutFor(900, 424).button;
    EXPECT_TRUE(insideButton(button, 581, 445));
    EXPECT_TRUE(insideButton(button, 879, 503));
    for (auto [x, y] : {std::pair{580, 470}, {880, 470}, {700, 444}, {700, 504}})
        EXPECT_FALSE(insideButton(button, x, y)) << x << "," << y;
    EXPECT_EQ(clickTarget(button, 424, 580, 470), ClickTarget::nothing);  // below the skin
    EXPECT_EQ(clickTarget(button, 424, 700, 470), ClickTarget::button);
    EXPECT_EQ(clickTarget(button, 424, 10, 423), ClickTarget::skin);
    EXPECT_EQ(clickTarget(button, 424, 10, 424), ClickTarget::nothing);
    intptr_t lParam = intptr_t((uint32_t(uint16_t(-5)) << 16) | uint16_t(-3));
    EXPECT_EQ(pointX(lParam), -3);
    EXPECT_EQ(pointY(lParam), -5);
    EXPECT_EQ(pointY(intptr_t((470u << 16) | 700u)), 470);
}
