#include <gtest/gtest.h>

#include "app/os_version.h"

namespace {

OsVersionReport userReport(uint32_t major, uint32_t minor, uint8_t productType = 1,
                           uint32_t size = 156) {
    OsVersionReport r{};
    r.userCallExists = true;
    r.userCallSize = size;
    r.major = major;
    r.minor = minor;
    r.productType = productType;
    return r;
}

OsVersionReport withKernel(OsVersionReport r, uint32_t major, uint32_t minor, int32_t status = 0) {
    r.kernelCallExists = true;
    r.kernelStatus = status;
    r.kernelMajor = major;
    r.kernelMinor = minor;
    return r;
}

}  // namespace

TEST(OsVersion, CodesByVersionNumber) {
    EXPECT_EQ(osCodeFor(4, 0, 1), 0);
    EXPECT_EQ(osCodeFor(5, 0, 1), 0);
    EXPECT_EQ(osCodeFor(4, 10, 1), 1);
    EXPECT_EQ(osCodeFor(4, 90, 1), 1);
    EXPECT_EQ(osCodeFor(5, 1, 1), 1);
    EXPECT_EQ(osCodeFor(5, 2, 1), 2);
    EXPECT_EQ(osCodeFor(6, 0, 1), 3);
    EXPECT_EQ(osCodeFor(6, 1, 1), 4);
    EXPECT_EQ(osCodeFor(6, 2, 1), 5);
    EXPECT_EQ(osCodeFor(6, 3, 1), 6);
    EXPECT_EQ(osCodeFor(6, 4, 1), -1);
    EXPECT_EQ(osCodeFor(7, 0, 1), -1);
    EXPECT_EQ(osCodeFor(9, 9, 1), -1);
    EXPECT_EQ(osCodeFor(10, 0, 1), 7);
    EXPECT_EQ(osCodeFor(11, 0, 1), 8);
}

TEST(OsVersion, ServerSevenCountsAsVistaClass) {
    EXPECT_EQ(osCodeFor(6, 1, 3), 3);  // VER_NT_SERVER
    EXPECT_EQ(osCodeFor(6, 1, 2), 3);  // domain controller
    EXPECT_EQ(classifyOs(userReport(6, 1, 3)), 3);
    // the basic form carries no product type: a workstation then looks like a server
    EXPECT_EQ(classifyOs(userReport(6, 1, 1, 148)), 3);
}

TEST(OsVersion, KernelTellsTheTruthBehindTheSixTwoReport) {
    EXPECT_EQ(classifyOs(userReport(6, 2)), 5);
    EXPECT_EQ(classifyOs(withKernel(userReport(6, 2), 6, 3)), 6);
    EXPECT_EQ(classifyOs(withKernel(userReport(6, 2), 10, 0)), 7);  // Windows 10 and 11
    EXPECT_EQ(classifyOs(withKernel(userReport(6, 2), 6, 4)), -1);
    EXPECT_EQ(classifyOs(withKernel(userReport(6, 1, 3), 6, 1)), 3);  // product type kept
}

TEST(OsVersion, KernelIsIgnoredWhenItFailsOrReportsAnOldVersion) {
    EXPECT_EQ(classifyOs(withKernel(userReport(6, 2), 10, 0, int32_t(0xC0000001))), 5);
    EXPECT_EQ(classifyOs(withKernel(userReport(5, 1), 5, 2)), 1);
}

TEST(OsVersion, FailedOrMissingUserModeCall) {
    OsVersionReport allFailed = userReport(6, 2, 1, 0);
    EXPECT_EQ(classifyOs(allFailed), -1);
    EXPECT_EQ(classifyOs(withKernel(allFailed, 10, 0)), -1);  // ends before the kernel asks
    OsVersionReport missing{};
    EXPECT_EQ(classifyOs(missing), 0);  // a zeroed structure reads 0.0
    EXPECT_EQ(classifyOs(withKernel(missing, 10, 0)), 7);
}
