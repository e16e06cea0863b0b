// The 64-bit probe's rule. The Win32 probe only gathers what the WOW64 calls report;
// what decides the flag lives here, where it is tested natively.
#pragma once
#include <cstdint>

struct MachineReport {
    // IsWow64Process2 (Windows 10 1709 and later): whether it answered, and the machine that
    // Windows runs on, an IMAGE_FILE_MACHINE_* value.
    bool machineKnown;
    uint16_t nativeMachine;
    // IsWow64Process: whether it answered, and whether this process runs under WOW64.
    bool wow64Known;
    bool wow64;
};

// 1 on 64-bit Windows, x86-64 or ARM64 (where this 32-bit program runs under emulation),
// else 0. The machine decides where it is known, the WOW64 answer elsewhere.
int32_t sixtyFourBitFlag(const MachineReport& report);
