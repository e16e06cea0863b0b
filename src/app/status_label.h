// The worker rewrites statusLabel while the window's timer may be drawing it. Both sides go
// through these two routines, which exchange the text under a tiny lock built on one atomic
// flag (the product's toolchain has no thread library). Only the worker ever waits for it:
// the window's thread runs at a higher priority, and waiting there could spin away the time
// slices of the worker that holds the lock, so the window takes the label only when it is free.
#pragma once
#include <cstddef>

struct InstallerContext;

constexpr size_t STATUS_LABEL_MAX = 131;

void setStatusLabel(InstallerContext* context, const char* text);
// Copies a complete, terminated label of at most STATUS_LABEL_MAX characters into out; while
// the worker is writing one, out is left as it was (the last label drawn stays).
void copyStatusLabel(InstallerContext* context, char (&out)[STATUS_LABEL_MAX + 1]);
