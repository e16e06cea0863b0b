#include <gtest/gtest.h>

#include "app/machine.h"
#include "app/os_version.h"
#include "../../../payload/vaio_setup/driver_image.h"

TEST(OsVersion, CodesByVersionNumber) {
    // 5.1, 6.2, 6.3, 6.4 and 10.0 come through the classification below.
    const int32_t cases[][3] = {{5, 0, 0}, {4, 10, 1}, {5, 2, 2},  {6, 0, 3},
                                {6, 1, 4}, {7, 0, -1}, {11, 0, 8}};
    for (const auto& c : cases)
        EXPECT_EQ(osCodeFor(uint32_t(c[0]), uint32_t(c[1]), 1), c[2]) << c[0] << "." << c[1];
}

TEST(OsVersion, KernelTellsTheTruthBehindTheUserModeReport) {
    const int32_t failed = int32_t(0xC0000001);
    const std::pair<OsVersionReport, int32_t> cases[] = {
        // The user-mode call: exists, size (156 with product type, 148 the basic form, 0 the
        // call failed), version, product type; then the kernel call: exists, status, version.
        {{true, 156, 6, 2, 1, false, 0, 0, 0}, 5},
        {{true, 156, 6, 2, 1, true, 0, 6, 3}, 6},
        {{true, 156, 6, 2, 1, true, 0, 10, 0}, 7},  // Windows 10 and 11
        {{true, 156, 6, 2, 1, true, 0, 6, 4}, -1},
        {{true, 156, 6, 1, 3, true, 0, 6, 1}, 3},  // the product type is kept: a 6.1 server
        {{true, 156, 6, 2, 1, true, failed, 10, 0}, 5},  // a failed kernel call is ignored
        {{true, 156, 5, 1, 1, true, 0, 5, 2}, 1},  // below 6.2 it is not asked at all
        {{true, 148, 6, 1, 1, false, 0, 0, 0}, 3},  // no product type: looks like a server
        {{true, 0, 6, 2, 1, true, 0, 10, 0}, -1},  // a failed user-mode call ends before the kernel
        {{}, 0},  // neither call: a zeroed structure reads 0.0
        {{false, 0, 0, 0, 0, true, 0, 10, 0}, 7},
    };
    for (const auto& c : cases)
        EXPECT_EQ(classifyOs(c.first), c.second) << &c - cases;
}

// The machine named by IsWow64Process2 decides where it answered, and picks the driver image.
TEST(OsVersion, MachineDecidesThe64BitFlagAndTheDriverImage) {
    const std::tuple<MachineReport, int32_t, const char*> cases[] = {
        {{true, 0x8664, true, false}, 1, "64"}, {{true, 0xAA64, true, false}, 1, "64arm"},
        {{true, 0x014C, true, true}, 0, "64"},  // x86 Windows, whatever WOW64 says
        {{false, 0, true, true}, 1, "64"},      // no machine: WOW64 decides
        {{false, 0, true, false}, 0, "64"}, {{false, 0, false, true}, 0, "64"}};
    for (const auto& [report, flag, image] : cases) {
        EXPECT_EQ(sixtyFourBitFlag(report), flag) << report.nativeMachine << report.wow64;
        EXPECT_EQ(driverImageFor(report.nativeMachine),
                  "qlorvalovaio" + std::string(image) + "_win10.sys");
    }
}
