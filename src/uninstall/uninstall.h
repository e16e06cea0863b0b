// The uninstall procedure; runs on the window's thread.
#pragma once
#include <cstdint>

struct InstallerContext;

// 1 when all steps ran (whatever each achieved); -101 package directory unreadable, -103
// no usable install folder: then nothing is removed.
int32_t runUninstall(InstallerContext* context);
