#include "ui/layout.h"

#include <cstdio>

WindowLayout layoutFor(int32_t w, int32_t h) {
    WindowLayout l;
    l.skin = {0, 0, w, h};
    l.osLabel = {20, 390, w - 160, h};
    l.osLabelShadow = {21, 391, w - 159, h + 1};
    l.panelFill = {0, h, w + 1, h + 101};
    l.statusLine1 = {20, h + 30, w, h + 100};
    l.statusLine2 = {20, h + 50, w, h + 100};
    l.button = {w - 320, h + 20, w - 20, h + 80};
    l.buttonOutline = {l.button.left, l.button.top, l.button.right + 1, l.button.bottom + 1};
    l.busyLabel = {l.button.left, l.button.top, l.button.right, l.button.bottom - 15};
    l.busyStatusLine = {l.button.left, l.button.bottom - 20, l.button.right, l.button.bottom};
    return l;
}

const char* osLabelFor(int32_t osCode) {
    static const char* const labels[] = {
        "O/S: < XP",   "O/S: WIN XP", "O/S: Server 2003", "O/S: VISTA",  "O/S: WIN7",
        "O/S: WIN8",   "O/S: WIN8.1", "O/S: WIN10",       "O/S: > WIN10",
    };
    if (osCode < 0 || osCode > 8) return "O/S: unknown";
    return labels[osCode];
}

const char* buttonLabelFor(int32_t installed) { return installed == 1 ? "Remove" : "Install"; }

void statusLinesFor(int32_t installed, StatusLines* lines) {
    if (installed == 1) {
        snprintf(lines->line1, sizeof lines->line1, "%s is already installed...", PRODUCT_ID);
        snprintf(lines->line2, sizeof lines->line2, "%s",
                 "previous version has to be removed before installing new one...");
    } else {
        snprintf(lines->line1, sizeof lines->line1, "%s",
                 "Ready to install ? Click the button right there...");
        snprintf(lines->line2, sizeof lines->line2, "it will install Quillon %s on your system...",
                 PRODUCT_ID);
    }
}

bool insideButton(const Rect32& b, int32_t x, int32_t y) {
    return b.left < x && x < b.right && b.top < y && y < b.bottom;
}

ClickTarget clickTarget(const Rect32& button, int32_t skinHeight, int32_t x, int32_t y) {
    if (insideButton(button, x, y)) return ClickTarget::button;
    return y < skinHeight ? ClickTarget::skin : ClickTarget::nothing;
}
