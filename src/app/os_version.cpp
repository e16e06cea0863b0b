#include "app/os_version.h"

int32_t osCodeFor(uint32_t major, uint32_t minor, uint8_t productType) {
    if (major <= 5) {
        if (minor == 0) return 0;
        return minor == 2 ? 2 : 1;
    }
    if (major == 6) {
        switch (minor) {
            case 0: return 3;
            case 1: return productType == PRODUCT_TYPE_WORKSTATION ? 4 : 3;
            case 2: return 5;
            case 3: return 6;
            default: return -1;
        }
    }
    if (major == 10) return 7;
    if (major > 10) return 8;
    return -1;
}

int32_t classifyOs(const OsVersionReport& report) {
    uint32_t major = 0, minor = 0;
    uint8_t productType = 0;
    if (report.userCallExists) {
        if (report.userCallSize == 0) return -1;
        major = report.major;
        minor = report.minor;
        if (report.userCallSize == 156) productType = report.productType;
    }
    // A manifest without the newer systems makes the user-mode call report 6.2; the kernel
    // tells the truth. The product type is not part of its answer and stays as it was.
    if (report.kernelCallExists && report.kernelStatus == 0 && report.kernelMajor >= 6) {
        major = report.kernelMajor;
        minor = report.kernelMinor;
    }
    return osCodeFor(major, minor, productType);
}
