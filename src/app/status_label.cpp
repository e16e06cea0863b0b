#include "app/status_label.h"

#include <atomic>
#include <cstring>

#include "app/context.h"

namespace {
std::atomic_flag labelLock = ATOMIC_FLAG_INIT;

struct LabelGuard {
    LabelGuard() {
        while (labelLock.test_and_set(std::memory_order_acquire)) {
        }
    }
    ~LabelGuard() { labelLock.clear(std::memory_order_release); }
};
}  // namespace

void setStatusLabel(InstallerContext* context, const char* text) {
    size_t length = strnlen(text, STATUS_LABEL_MAX);
    LabelGuard guard;
    memcpy(context->statusLabel, text, length);
    context->statusLabel[length] = 0;
}

void copyStatusLabel(InstallerContext* context, char (&out)[STATUS_LABEL_MAX + 1]) {
    LabelGuard guard;
    size_t length = strnlen(context->statusLabel, STATUS_LABEL_MAX);
    memcpy(out, context->statusLabel, length);
    out[length] = 0;
}
