// Where everything of the installer window is drawn and what it says, derived only from the
// skin's size and the context's state, so that a different skin moves every element with it.
#pragma once
#include <cstdint>

#include "app/context.h"

struct WindowLayout {
    Rect32 skin;
    Rect32 osLabel;
    Rect32 osLabelShadow;  // one pixel right and down
    Rect32 panelFill;      // Rectangle() with a null pen leaves out the right and bottom edge
    Rect32 statusLine1;
    Rect32 statusLine2;
    Rect32 button;         // also the click area
    Rect32 buttonOutline;  // RoundRect() corners: one past the button's right and bottom
    Rect32 busyLabel;
    Rect32 busyStatusLine;
};

WindowLayout layoutFor(int32_t skinWidth, int32_t skinHeight);

const char* osLabelFor(int32_t osCode);
const char* buttonLabelFor(int32_t installed);

constexpr int STATUS_LINE_MAX = 128;
struct StatusLines {
    char line1[STATUS_LINE_MAX];
    char line2[STATUS_LINE_MAX];
};
void statusLinesFor(int32_t installed, StatusLines* lines);

// Mouse positions arrive as signed 16-bit words of lParam.
inline int32_t pointX(intptr_t lParam) { return int16_t(uint16_t(uintptr_t(lParam) & 0xFFFF)); }
inline int32_t pointY(intptr_t lParam) {
    return int16_t(uint16_t((uintptr_t(lParam) >> 16) & 0xFFFF));
}

// A click strictly inside the button runs it; on its outline it does not.
bool insideButton(const Rect32& button, int32_t x, int32_t y);
enum class ClickTarget { nothing, button, skin };
ClickTarget clickTarget(const Rect32& button, int32_t skinHeight, int32_t x, int32_t y);
