#include "ui/taskbar_progress.h"

#include <cstdlib>
#include <cstring>
#include <iterator>

#include "app/context.h"

namespace {

// The labels in the order the install writes them, the pin count after "Configure VAIOs". A
// step counts from its label on, so that the bar shows from the first one; steps that a system
// skips (the driver's) leave their share out.
const char* const STEPS[] = {"Extract Package", "Copy Files",        "Install VAIOs",
                             "Create Shortcuts", "Configure VAIOs", "Set Pin Name/Icon",
                             "Installation Completed"};
constexpr uint32_t PIN_STEP = 4;  // "Configure VAIOs", which waits for the pins
constexpr uint32_t UNIT = 1000;   // of one step
constexpr uint32_t TOTAL = std::size(STEPS) * UNIT;

// "ready/count Pin(s) Ok" as the endpoint step writes it: the share of the pins ready.
// (Read by hand: the C library's scanf would add more to the program than all of this.)
bool pinShare(const char* label, uint32_t* share) {
    char* end = nullptr;
    unsigned long ready = strtoul(label, &end, 10);
    if (end == label || *end != '/') return false;
    const char* countText = end + 1;
    unsigned long count = strtoul(countText, &end, 10);
    if (end == countText || strcmp(end, " Pin(s) Ok") != 0 || count == 0 || ready > count)
        return false;
    *share = uint32_t(ready * UNIT / count);
    return true;
}

}  // namespace

TaskbarProgress progressAfterLabel(TaskbarProgress current, const char* label) {
    uint32_t completed = 0, share = 0, step = 0;
    for (const char* name : STEPS) {
        ++step;
        if (strcmp(label, name) == 0) completed = step * UNIT;
    }
    if (pinShare(label, &share)) completed = (PIN_STEP + 1) * UNIT + share;
    if (completed == 0) return current;
    ProgressState state =
        current.state == ProgressState::error ? ProgressState::error : ProgressState::normal;
    return {state, completed, TOTAL};
}

TaskbarProgress progressAfterNotice(TaskbarProgress current, int32_t code) {
    if (code == DONE_FAILED) return {ProgressState::error, current.completed, current.total};
    if (code == DONE_OK || code == DONE_VAIO_WARNING) return {ProgressState::none, 0, 0};
    return current;
}
