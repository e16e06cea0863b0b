#include <gtest/gtest.h>

#include "ui/layout.h"

namespace {
void expectRect(const Rect32& r, int32_t l, int32_t t, int32_t rr, int32_t b) {
    EXPECT_EQ(r.left, l);
    EXPECT_EQ(r.top, t);
    EXPECT_EQ(r.right, rr);
    EXPECT_EQ(r.bottom, b);
}
}  // namespace

TEST(Layout, ShippedSkinPlacesEveryElement) {
    WindowLayout l = layoutFor(900, 424);
    expectRect(l.skin, 0, 0, 900, 424);
    expectRect(l.osLabel, 20, 390, 740, 424);
    expectRect(l.osLabelShadow, 21, 391, 741, 425);
    expectRect(l.panelFill, 0, 424, 901, 525);
    expectRect(l.statusLine1, 20, 454, 900, 524);
    expectRect(l.statusLine2, 20, 474, 900, 524);
    expectRect(l.button, 580, 444, 880, 504);
    expectRect(l.buttonOutline, 580, 444, 881, 505);
    expectRect(l.busyLabel, 580, 444, 880, 489);
    expectRect(l.busyStatusLine, 580, 484, 880, 504);
}

TEST(Layout, AnotherSkinMovesTheElementsWithIt) {
    WindowLayout l = layoutFor(640, 300);
    expectRect(l.osLabel, 20, 390, 480, 300);  // the label's top is fixed, its right follows W
    expectRect(l.panelFill, 0, 300, 641, 401);
    expectRect(l.button, 320, 320, 620, 380);
    expectRect(l.busyStatusLine, 320, 360, 620, 380);
}

TEST(Labels, OsLabelForEveryCode) {
    EXPECT_STREQ(osLabelFor(0), "O/S: < XP");
    EXPECT_STREQ(osLabelFor(2), "O/S: Server 2003");
    EXPECT_STREQ(osLabelFor(4), "O/S: WIN7");
    EXPECT_STREQ(osLabelFor(6), "O/S: WIN8.1");
    EXPECT_STREQ(osLabelFor(7), "O/S: WIN10");
    EXPECT_STREQ(osLabelFor(8), "O/S: > WIN10");
    EXPECT_STREQ(osLabelFor(-1), "O/S: unknown");
    EXPECT_STREQ(osLabelFor(9), "O/S: unknown");
}

TEST(Labels, ButtonAndStatusLinesFollowInstalled) {
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

TEST(Clicks, TheOutlineIsOutsideTheButton) {
    Rect32 button = layoutFor(900, 424).button;
    EXPECT_TRUE(insideButton(button, 581, 445));
    EXPECT_TRUE(insideButton(button, 879, 503));
    EXPECT_FALSE(insideButton(button, 580, 470));
    EXPECT_FALSE(insideButton(button, 880, 470));
    EXPECT_FALSE(insideButton(button, 700, 444));
    EXPECT_FALSE(insideButton(button, 700, 504));
    EXPECT_EQ(clickTarget(button, 424, 580, 470), ClickTarget::nothing);  // below the skin
    EXPECT_EQ(clickTarget(button, 424, 700, 470), ClickTarget::button);
    EXPECT_EQ(clickTarget(button, 424, 10, 423), ClickTarget::skin);
    EXPECT_EQ(clickTarget(button, 424, 10, 424), ClickTarget::nothing);
}

TEST(Clicks, CoordinatesAreSigned16BitWords) {
    intptr_t lParam = intptr_t((uint32_t(uint16_t(-5)) << 16) | uint16_t(-3));
    EXPECT_EQ(pointX(lParam), -3);
    EXPECT_EQ(pointY(lParam), -5);
    EXPECT_EQ(pointX(intptr_t((470u << 16) | 700u)), 700);
    EXPECT_EQ(pointY(intptr_t((470u << 16) | 700u)), 470);
    // a point above the client area counts as on the skin
    EXPECT_EQ(clickTarget(layoutFor(900, 424).button, 424, 10, pointY(lParam)),
              ClickTarget::skin);
}
