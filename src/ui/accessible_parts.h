// The installer window as a screen reader gets it: its client area holds the two status lines
// and the button, each named, placed and stated from the same layout and texts that painting
// uses. Roles, states and directions carry Active Accessibility's numbers (oleacc.h).
#pragma once
#include <cstddef>
#include <cstdint>

#include "app/status_label.h"
#include "ui/layout.h"

// Child ids, in reading order; 0 is the client area itself.
enum : int32_t {
    PART_NONE = -1,
    PART_CLIENT = 0,
    PART_STATUS_LINE_1 = 1,
    PART_STATUS_LINE_2 = 2,
    PART_BUTTON = 3,
};
constexpr int32_t PART_COUNT = 3;

constexpr int32_t ROLE_STATIC_TEXT = 0x29, ROLE_PUSH_BUTTON = 0x2B;
constexpr uint32_t STATE_UNAVAILABLE = 0x1, STATE_FOCUSED = 0x4, STATE_READ_ONLY = 0x40,
                   STATE_FOCUSABLE = 0x100000;
enum : int32_t {
    NAV_UP = 1, NAV_DOWN, NAV_LEFT, NAV_RIGHT, NAV_NEXT, NAV_PREVIOUS, NAV_FIRST_CHILD,
    NAV_LAST_CHILD,
};

// What the window shows at the moment.
struct ShownWindow {
    int32_t skinWidth, skinHeight;
    int32_t installed;
    bool inputRefused;  // a procedure has started: clicks and keys do nothing from now on
    bool focused;       // the window has the keyboard focus
    bool busyShown;     // the blink timer has drawn the busy button, with busyLabel under it
    char busyLabel[STATUS_LABEL_MAX + 1];
};

// The part is one of the three; the client area is the system's business.
constexpr size_t PART_NAME_MAX = 160;
void partName(const ShownWindow& shown, int32_t part, char (&out)[PART_NAME_MAX]);
int32_t partRole(int32_t part);
uint32_t partState(const ShownWindow& shown, int32_t part);
// Where the part is painted, in client coordinates (right and bottom exclusive).
Rect32 partRect(const ShownWindow& shown, int32_t part);
// The part under a point of the client area; PART_CLIENT where there is none.
int32_t partAt(const ShownWindow& shown, int32_t x, int32_t y);
// From the client area (into it: first and last child only) or from a part; PART_NONE where
// nothing lies that way.
int32_t partNavigate(const ShownWindow& shown, int32_t from, int32_t direction);
// The part that has the keyboard focus: the button while it can be pressed, else the client
// area; PART_NONE while the window does not have it.
int32_t focusedPart(const ShownWindow& shown);

// One bit (1 << part) for each part whose name, or whose state apart from the focus, differs.
uint32_t renamedParts(const ShownWindow& before, const ShownWindow& after);
uint32_t restatedParts(const ShownWindow& before, const ShownWindow& after);
