#include "ui/accessible_parts.h"

#include <cstdio>
#include <cstring>

namespace {

bool isPart(int32_t part) { return part >= PART_STATUS_LINE_1 && part <= PART_BUTTON; }

bool contains(const Rect32& r, int32_t x, int32_t y) {
    return r.left <= x && x < r.right && r.top <= y && y < r.bottom;
}

// How far `to` lies beyond `from` in a direction: -1 where it does not lie wholly beyond.
int32_t distanceBeyond(const Rect32& from, const Rect32& to, int32_t direction) {
    int32_t gap = -1;
    switch (direction) {
        case NAV_UP: gap = from.top - to.bottom; break;
        case NAV_DOWN: gap = to.top - from.bottom; break;
        case NAV_LEFT: gap = from.left - to.right; break;
        case NAV_RIGHT: gap = to.left - from.right; break;
    }
    return gap < 0 ? -1 : gap;
}

}  // namespace

void partName(const ShownWindow& shown, int32_t part, char (&out)[PART_NAME_MAX]) {
    StatusLines lines;
    statusLinesFor(shown.installed, &lines);
    out[0] = 0;
    if (part == PART_STATUS_LINE_1) snprintf(out, sizeof out, "%s", lines.line1);
    if (part == PART_STATUS_LINE_2) snprintf(out, sizeof out, "%s", lines.line2);
    if (part != PART_BUTTON) return;
    // The busy button shows "Installing" (blinking, but its name does not) over the step.
    if (!shown.busyShown)
        snprintf(out, sizeof out, "%s", buttonLabelFor(shown.installed));
    else if (shown.busyLabel[0])
        snprintf(out, sizeof out, "Installing: %s", shown.busyLabel);
    else
        snprintf(out, sizeof out, "Installing");
}

int32_t partRole(int32_t part) { return part == PART_BUTTON ? ROLE_PUSH_BUTTON : ROLE_STATIC_TEXT; }

uint32_t partState(const ShownWindow& shown, int32_t part) {
    if (part != PART_BUTTON) return STATE_READ_ONLY;
    if (shown.inputRefused) return STATE_UNAVAILABLE;
    return STATE_FOCUSABLE | (shown.focused ? STATE_FOCUSED : 0);
}

// The lines are drawn top-aligned in bands that reach the panel's bottom and right edge; each
// is given the height between the two lines' tops, and ends where the button, painted over
// them, begins.
Rect32 partRect(const ShownWindow& shown, int32_t part) {
    const WindowLayout l = layoutFor(shown.skinWidth, shown.skinHeight);
    const int32_t lineHeight = l.statusLine2.top - l.statusLine1.top;
    switch (part) {
        case PART_STATUS_LINE_1:
            return {l.statusLine1.left, l.statusLine1.top, l.button.left, l.statusLine2.top};
        case PART_STATUS_LINE_2:
            return {l.statusLine2.left, l.statusLine2.top, l.button.left,
                    l.statusLine2.top + lineHeight};
        case PART_BUTTON:
            return l.buttonOutline;
        default:
            return {0, 0, 0, 0};
    }
}

int32_t partAt(const ShownWindow& shown, int32_t x, int32_t y) {
    for (int32_t part = PART_BUTTON; part >= PART_STATUS_LINE_1; --part)
        if (contains(partRect(shown, part), x, y)) return part;
    return PART_CLIENT;
}

int32_t partNavigate(const ShownWindow& shown, int32_t from, int32_t direction) {
    if (from == PART_CLIENT) {
        if (direction == NAV_FIRST_CHILD) return PART_STATUS_LINE_1;
        return direction == NAV_LAST_CHILD ? PART_BUTTON : PART_NONE;
    }
    if (!isPart(from)) return PART_NONE;
    if (direction == NAV_NEXT) return from < PART_BUTTON ? from + 1 : PART_NONE;
    if (direction == NAV_PREVIOUS) return from > PART_STATUS_LINE_1 ? from - 1 : PART_NONE;
    // Spatial: the nearest part wholly beyond in that direction; the first in reading order
    // of those as near.
    int32_t nearest = PART_NONE, nearestGap = 0;
    for (int32_t part = PART_STATUS_LINE_1; part <= PART_BUTTON; ++part) {
        int32_t gap = distanceBeyond(partRect(shown, from), partRect(shown, part), direction);
        if (part == from || gap < 0 || (nearest != PART_NONE && gap >= nearestGap)) continue;
        nearest = part;
        nearestGap = gap;
    }
    return nearest;
}

int32_t focusedPart(const ShownWindow& shown) {
    if (!shown.focused) return PART_NONE;
    return shown.inputRefused ? PART_CLIENT : PART_BUTTON;
}

uint32_t renamedParts(const ShownWindow& before, const ShownWindow& after) {
    uint32_t renamed = 0;
    char was[PART_NAME_MAX], is[PART_NAME_MAX];
    for (int32_t part = PART_STATUS_LINE_1; part <= PART_BUTTON; ++part) {
        partName(before, part, was);
        partName(after, part, is);
        if (strcmp(was, is) != 0) renamed |= 1u << part;
    }
    return renamed;
}

uint32_t restatedParts(const ShownWindow& before, const ShownWindow& after) {
    uint32_t restated = 0;
    for (int32_t part = PART_STATUS_LINE_1; part <= PART_BUTTON; ++part)
        if ((partState(before, part) ^ partState(after, part)) & ~STATE_FOCUSED)
            restated |= 1u << part;
    return restated;
}
