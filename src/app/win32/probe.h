// The system probes that need Windows itself; each system function is looked up at run time.
#pragma once
#include <cstdint>

// 1 on 64-bit Windows, x86-64 or ARM64 (see app/machine.h for the rule), else 0.
int32_t detect64BitSystem();
// The osCode of the running Windows (see app/os_version.h for the rule).
int32_t probeOsCode();
