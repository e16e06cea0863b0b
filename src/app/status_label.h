// The worker rewrites statusLabel while the window's timer may be drawing it. Both sides go
// through these two routines, which exchange the text under a tiny spin lock: a copy of at
// most 131 characters is far shorter than any wait it could cause, and a lock built on one
// atomic flag needs no thread library (the product's toolchain has none).
#pragma once
#include <cstddef>

struct InstallerContext;

constexpr size_t STATUS_LABEL_MAX = 131;

void setStatusLabel(InstallerContext* context, const char* text);
// Copies a complete, terminated label of at most STATUS_LABEL_MAX characters into out.
void copyStatusLabel(InstallerContext* context, char (&out)[STATUS_LABEL_MAX + 1]);
