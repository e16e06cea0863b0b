// Windows version classification. The Win32 probe only gathers the numbers that the version
// calls report; everything that decides the code lives here, where it is tested natively.
#pragma once
#include <cstdint>

constexpr uint8_t PRODUCT_TYPE_WORKSTATION = 1;  // VER_NT_WORKSTATION

// What the two version calls reported, as plain data.
struct OsVersionReport {
    // GetVersionExA: whether it exists, and the size field of the call that succeeded
    // (156 extended, 148 basic; 0 when every attempt failed).
    bool userCallExists;
    uint32_t userCallSize;
    uint32_t major, minor;
    uint8_t productType;  // only the extended form carries it
    // RtlGetVersion: whether it exists, its NTSTATUS and its numbers.
    bool kernelCallExists;
    int32_t kernelStatus;
    uint32_t kernelMajor, kernelMinor;
};

// -1, or 0 to 8, from a version number and product type.
int32_t osCodeFor(uint32_t major, uint32_t minor, uint8_t productType);
// The whole rule: user-mode report, overridden by the kernel's when it says 6 or more.
int32_t classifyOs(const OsVersionReport& report);
