// Painting geometry, the texts drawn, and where a click lands.
#include <gtest/gtest.h>

#include <cstdio>
#include <tuple>
#include <vector>

#include "ui/accessible_parts.h"
#include "ui/layout.h"

namespace {
std::vector<int32_t> edges(const Rect32& r) { return {r.left, r.top, r.right, r.bottom}; }
using E = std::vector<int32_t>;
}  // namespace

// The button and its outline are pinned by the clicks and the accessible parts below.
// Not the real skin's 900 x 424, where the OS label's fixed top (390) is also the height - 34.
TEST(Layout, EveryElementFollowsTheSkinSize) {
    const WindowLayout l = layoutFor(800, 350);
    EXPECT_EQ(edges(l.osLabel), (E{20, 390, 640, 350}));
    EXPECT_EQ(edges(l.osLabelShadow), (E{21, 391, 641, 351}));
    EXPECT_EQ(edges(l.panelFill), (E{0, 350, 801, 451}));
    EXPECT_EQ(edges(l.statusLine1), (E{20, 380, 800, 450}));
    EXPECT_EQ(edges(l.statusLine2), (E{20, 400, 800, 450}));
    EXPECT_EQ(edges(l.busyLabel), (E{480, 370, 780, 415}));
    EXPECT_EQ(edges(l.busyStatusLine), (E{480, 410, 780, 430}));
}

TEST(Labels, OsTexts) {
    EXPECT_STREQ(osLabelFor(0), "O/S: < XP");
    EXPECT_STREQ(osLabelFor(8), "O/S: > WIN10");
    EXPECT_STREQ(osLabelFor(-1), "O/S: unknown");
    EXPECT_STREQ(osLabelFor(9), "O/S: unknown");
    // The status lines and the button's texts: through the accessible parts below.
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
}

// The window as a screen reader gets it, from the same layout and texts as painted (the skin of
// 800 x 350 above): names, states, places, what lies under a point, where navigation
// leads, and which changes are announced.
TEST(Accessible, PartsFollowThePaintingAndTheWindowState) {
    const ShownWindow idle = {800, 350, 0, false, true, false, {}};
    ShownWindow installed = idle, busy = idle, nextStep;
    installed.installed = 1;
    installed.focused = false;
    busy.inputRefused = busy.busyShown = true;
    snprintf(busy.busyLabel, sizeof busy.busyLabel, "Copy Files");
    const E line1 = {20, 380, 480, 400}, line2 = {20, 400, 480, 420}, button = {480, 370, 781, 431};
    const uint32_t ready = STATE_FOCUSABLE | STATE_FOCUSED;
    const std::tuple<const ShownWindow*, int32_t, const char*, uint32_t, E> parts[] = {
        {&idle, 1, "Ready to install ? Click the button right there...", STATE_READ_ONLY, line1},
        {&idle, 2, "it will install Quillon QuillonOrvalo on your system...", STATE_READ_ONLY,
         line2},
        {&idle, 3, "Install", ready, button},
        {&installed, 3, "Remove", STATE_FOCUSABLE, button},
        {&installed, 1, "QuillonOrvalo is already installed...", STATE_READ_ONLY, line1},
        {&installed, 2, "previous version has to be removed before installing new one...",
         STATE_READ_ONLY, line2},
        {&busy, 3, "Installing: Copy Files", STATE_UNAVAILABLE, button},
    };
    char name[PART_NAME_MAX];
    for (const auto& [shown, part, expected, state, place] : parts) {
        partName(*shown, part, name);
        EXPECT_STREQ(name, expected);
        EXPECT_EQ(partState(*shown, part), state) << expected;
        EXPECT_EQ(partRole(part), part == 3 ? ROLE_PUSH_BUTTON : ROLE_STATIC_TEXT) << expected;
        EXPECT_EQ(edges(partRect(*shown, part)), place) << expected;
    }
    const std::tuple<int32_t, int32_t, int32_t> points[] = {
        {479, 399, 1}, {480, 399, 3}, {780, 430, 3}, {781, 430, 0}, {20, 400, 2},
        {19, 400, 0},  {100, 420, 0}, {100, 10, 0},
    };
    for (const auto& [x, y, part] : points) EXPECT_EQ(partAt(idle, x, y), part) << x << "," << y;
    EXPECT_EQ(E({focusedPart(idle), focusedPart(busy), focusedPart(installed)}), (E{3, 0, -1}));
    const std::tuple<int32_t, int32_t, int32_t> moves[] = {
        {0, NAV_FIRST_CHILD, 1}, {0, NAV_LAST_CHILD, 3}, {0, NAV_NEXT, -1}, {1, NAV_NEXT, 2},
        {3, NAV_NEXT, -1},       {1, NAV_PREVIOUS, -1},  {3, NAV_PREVIOUS, 2}, {1, NAV_DOWN, 2},
        {2, NAV_UP, 1},          {1, NAV_RIGHT, 3},      {3, NAV_LEFT, 1},    {3, NAV_DOWN, -1},
        {3, NAV_UP, -1},         {2, NAV_LEFT, -1},      {1, NAV_FIRST_CHILD, -1},
    };
    for (const auto& [from, direction, to] : moves)
        EXPECT_EQ(partNavigate(idle, from, direction), to) << from << " " << direction;
    // Announced: what a screen reader would read differently, and nothing else.
    nextStep = busy;
    EXPECT_EQ(renamedParts(idle, busy) | restatedParts(idle, busy) << 4, 0x88u);
    EXPECT_EQ(renamedParts(busy, nextStep) | restatedParts(busy, nextStep), 0u);
    snprintf(nextStep.busyLabel, sizeof nextStep.busyLabel, "Install VAIOs");
    EXPECT_EQ(renamedParts(busy, nextStep) | restatedParts(busy, nextStep) << 4, 0x8u);
    nextStep.busyLabel[0] = 0;
    partName(nextStep, PART_BUTTON, name);
    EXPECT_STREQ(name, "Installing");
    EXPECT_EQ(renamedParts(idle, installed) | restatedParts(idle, installed) << 4, 0xEu);
}
