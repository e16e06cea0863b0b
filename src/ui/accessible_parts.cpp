#include "ui/accessible_parts.h"

#include <cstdio>
#include <cstring>

namespace {

bool contains(const Rect32& r, int32_t x, int32_t y) {
    return r.left <= x && x < r.right && r.top <= y && y < r.bottom;
}

// Whether `to` lies wholly beyond `from` in a direction.
bool liesBeyond(const Rect32& from, const Rect32& to, int32_t direction) {
    switch (direction) {
        case NAV_UP: return to.bottom <= from.top;
        case NAV_DOWN: return to.top >= from.bottom;
        case NAV_LEFT: return to.right <= from.left;
        case NAV_RIGHT: return to.left >= from.right;
        default: return false;
    }
}

}  // namespace

void partName(const ShownWindow& shown, int32_t part, char (&out)[PART_NAME_MAX]) {
    StatusLines lines;
    statusLinesFor(shown.installed, &lines);
    if (part == PART_STATUS_LINE_1)
        snprintf(out, sizeof out, "%s", lines.line1);
    else if (part == PART_STATUS_LINE_2)
        snprintf(out, sizeof out, "%s", lines.line2);
    else if (!shown.busyShown)
        snprintf(out, sizeof out, "%s", buttonLabelFor(shown.installed));
    else if (shown.busyLabel[0])  // "Installing" (blinking, but its name does not) over the step
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
    if (part == PART_STATUS_LINE_1)
        return {l.statusLine1.left, l.statusLine1.top, l.button.left, l.statusLine2.top};
    if (part == PART_STATUS_LINE_2)
        return {l.statusLine2.left, l.statusLine2.top, l.button.left,
                l.statusLine2.top + lineHeight};
    return l.buttonOutline;
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
    if (direction == NAV_NEXT) return from < PART_BUTTON ? from + 1 : PART_NONE;
    if (direction == NAV_PREVIOUS) return from > PART_STATUS_LINE_1 ? from - 1 : PART_NONE;
    // Spatial: the first part in reading order that lies wholly beyond in that direction.
    for (int32_t part = PART_STATUS_LINE_1; part <= PART_BUTTON; ++part)
        if (liesBeyond(partRect(shown, from), partRect(shown, part), direction)) return part;
    return PART_NONE;
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
