// Waits for the VAIO driver's pins and names its audio endpoints (install worker thread).
#pragma once
#include <cstdint>

struct InstallerContext;

// -1 when the device is not found or the capture naming pass failed, else 0.
int32_t configureVaio(InstallerContext* context);
