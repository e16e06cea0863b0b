#include "app/status_label.h"

#include <atomic>
#include <cstring>

#include "app/context.h"

namespace {
std::atomic_flag labelLock = ATOMIC_FLAG_INIT;
}  // namespace

void setStatusLabel(InstallerContext* context, const char* text) {
    size_t length = strnlen(text, STATUS_LABEL_MAX);
    // The holder can only be the window, copying 131 characters at most at a higher priority.
    while (labelLock.test_and_set(std::memory_order_acquire)) {
    }
    memcpy(context->statusLabel, text, length);
    context->statusLabel[length] = 0;
    labelLock.clear(std::memory_order_release);
}

void copyStatusLabel(InstallerContext* context, char (&out)[STATUS_LABEL_MAX + 1]) {
    if (labelLock.test_and_set(std::memory_order_acquire)) return;
    size_t length = strnlen(context->statusLabel, STATUS_LABEL_MAX);
    memcpy(out, context->statusLabel, length);
    out[length] = 0;
    labelLock.clear(std::memory_order_release);
}
