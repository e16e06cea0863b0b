#include "app/machine.h"

int32_t sixtyFourBitFlag(const MachineReport& report) {
    constexpr uint16_t AMD64 = 0x8664, ARM64 = 0xAA64;  // IMAGE_FILE_MACHINE_*
    if (report.machineKnown)
        return report.nativeMachine == AMD64 || report.nativeMachine == ARM64 ? 1 : 0;
    return report.wow64Known && report.wow64 ? 1 : 0;
}
