// The system probes that need Windows itself; each system function is looked up at run time.
#pragma once
#include <cstdint>

// 1 on 64-bit Windows, x86-64 or ARM64 (see app/machine.h for the rule), else 0.
int32_t detect64BitSystem();
// The osCode of the running Windows (see app/os_version.h for the rule).
int32_t probeOsCode();
// This program's own file, in UTF-8, taken through the wide call: the ANSI one would give a
// look-alike of a name outside the ANSI code page, which can be another file, planted there.
// False (and out empty) when the path cannot be had whole.
bool ownProgramPath(char* out, uint32_t capacity);
