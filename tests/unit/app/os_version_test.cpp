#include <gtest/gtest.h>

#include "app/os_version.h"

namespace {
// A user-mode report (156 bytes: with product type; 148: the basic form; 0: the call failed),
// optionally with the kernel call's answer.
OsVersionReport report(uint32_t major, uint32_t minor, uint8_t productType = 1,
                       uint32_t size = 156) {
    OsVersionReport r{};
    r.userCallExists = true, r.userCallSize = size, r.major = major, r.minor = minor;
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
    const int32_t cases[][3] = {{5, 0, 0},  {4, 10, 1}, {5, 1, 1},  {5, 2, 2},
                                {6, 0, 3},  {6, 1, 4},  {6, 2, 5},  {6, 3, 6},
                                {6, 4, -1}, {7, 0, -1}, {10, 0, 7}, {11, 0, 8}};
    for (const auto& c : cases)
        EXPECT_EQ(osCodeFor(uint32_t(c[0]), uint32_t(c[1]), 1), c[2]) << c[0] << "." << c[1];
    EXPECT_EQ(osCodeFor(6, 1, 3), 3);  // a 6.1 server is Vista class
    // the basic form carries no product type: a workstation then looks like a server
    EXPECT_EQ(classifyOs(report(6, 1, 1, 148)), 3);
}

TEST(OsVersion, KernelTellsTheTruthBehindTheSixTwoReport) {
    EXPECT_EQ(classifyOs(report(6, 2)), 5);
    EXPECT_EQ(classifyOs(withKernel(report(6, 2), 6, 3)), 6);
    EXPECT_EQ(classifyOs(withKernel(report(6, 2), 10, 0)), 7);  // Windows 10 and 11
    EXPECT_EQ(classifyOs(withKernel(report(6, 2), 6, 4)), -1);
    EXPECT_EQ(classifyOs(withKernel(report(6, 1, 3), 6, 1)), 3);  // product type kept
    // A failed kernel call is ignored; below 6.2 it is not asked at all.
    EXPECT_EQ(classifyOs(withKernel(report(6, 2), 10, 0, int32_t(0xC0000001))), 5);
    EXPECT_EQ(classifyOs(withKernel(report(5, 1), 5, 2)), 1);
}

TEST(OsVersion, FailedOrMissingUserModeCall) {
    // A failed user-mode call ends before the kernel is asked.
    EXPECT_EQ(classifyOs(withKernel(report(6, 2, 1, 0), 10, 0)), -1);
    OsVersionReport missing{};
    EXPECT_EQ(classifyOs(missing), 0);  // a zeroed structure reads 0.0
    EXPECT_EQ(classifyOs(withKernel(missing, 10, 0)), 7);
}
