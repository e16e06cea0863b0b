// The uninstall procedure; runs on the window's thread.
#pragma once
#include <cstdint>

struct InstallerContext;

// 1 when all steps ran; -101 package directory unreadable; -103 no install folder.
int32_t runUninstall(InstallerContext* context);
