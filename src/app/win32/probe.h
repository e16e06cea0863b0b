// The system probes that need Windows itself; each system function is looked up at run time.
#pragma once
#include <cstdint>

// 1 when this 32-bit program runs under WOW64 (64-bit Windows), else 0.
int32_t detect64BitSystem();
// The osCode of the running Windows (see app/os_version.h for the rule).
int32_t probeOsCode();
