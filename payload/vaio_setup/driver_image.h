// Which of the package's two driver images the VAIO setup program installs. On ARM64 Windows
// this x86-64 program runs under emulation, but the kernel loads ARM64 drivers only: the
// machine that Windows runs on decides, as IsWow64Process2 names it (0 where it cannot).
#pragma once

inline const char* driverImageFor(unsigned short nativeMachine) {
    const unsigned short ARM64 = 0xAA64;  // IMAGE_FILE_MACHINE_ARM64
    return nativeMachine == ARM64 ? "qlorvalovaio64arm_win10.sys" : "qlorvalovaio64_win10.sys";
}
