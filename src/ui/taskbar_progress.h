// The progress that the taskbar button shows: the install's steps, from the labels that the
// procedure writes (in their order, the driver's pin count in between), the error state once a
// step has failed, nothing once the final notice is up; the removal as work without a measure.
#pragma once
#include <cstdint>

// The taskbar's own numbers (TBPFLAG).
enum class ProgressState : int32_t { none = 0, indeterminate = 1, normal = 2, error = 4 };

struct TaskbarProgress {
    ProgressState state;
    uint32_t completed, total;
};

inline bool operator==(const TaskbarProgress& a, const TaskbarProgress& b) {
    return a.state == b.state && a.completed == b.completed && a.total == b.total;
}

// An unknown label (an empty one among them) leaves the progress as it was; a step after a
// failure moves the bar on but keeps it in the error state.
TaskbarProgress progressAfterLabel(TaskbarProgress current, const char* label);
// A notice of the install procedure (CMD_DONE and its code).
TaskbarProgress progressAfterNotice(TaskbarProgress current, int32_t code);
constexpr TaskbarProgress REMOVAL_PROGRESS = {ProgressState::indeterminate, 0, 0};
