// The worker rewrites statusLabel while the window's timer reads it; the reader must always
// see one complete label, never a mix of two. Run under ThreadSanitizer by the test command.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "app/context.h"
#include "app/status_label.h"

namespace {
InstallerContext context;
}

TEST(StatusLabel, ReaderSeesOnlyWholeLabelsWhileWriterRewrites) {
    const char* labels[] = {"Extract Package", "Copy Files", "Install VAIOs",
                            "16/16 Pin(s) Ok", "Installation Completed", ""};
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int round = 0; round < 20000; ++round) setStatusLabel(&context, labels[round % 6]);
        done = true;
    });
    int reads = 0;
    char copy[STATUS_LABEL_MAX + 1] = "";  // a busy lock leaves the previous label
    while (!done || reads < 1000) {
        copyStatusLabel(&context, copy);
        bool known = false;
        for (const char* label : labels) known |= strcmp(copy, label) == 0;
        ASSERT_TRUE(known) << "torn label: " << copy;
        ++reads;
    }
    writer.join();
}
