// A package for the benchmarks, with sizes like the shipped package's: programs of a few
// MB, driver files of tens of KB, modules of a few hundred KB, small text files and 72x72
// images. About 14.5 MB in all, or that divided by shrink.
#pragma once
#include <cstdlib>
#include <vector>

#include "package/package_writer.h"

inline std::vector<uint8_t> makeBenchPackage(uint32_t shrink = 1) {
    static constexpr uint32_t FILE_KB[PACKAGE_ENTRY_COUNT] = {
        6,   3900, 4700, 1250, 12,  7,   52,  56,  1650, 960, 210, 260,
        215, 265,  215,  265,  220, 270, 130, 5,   4,    3,   3,
    };
    std::vector<uint8_t> contents[PACKAGE_ENTRY_COUNT];
    PackageFile files[PACKAGE_ENTRY_COUNT];
    uint32_t seed = 12345;
    for (int i = 0; i < PACKAGE_ENTRY_COUNT; ++i) {
        contents[i].resize(FILE_KB[i] * 1024 / shrink);
        for (uint8_t& byte : contents[i]) {
            seed = seed * 1103515245 + 12345;
            byte = uint8_t(seed >> 16);
        }
        files[i] = {PACKAGE_FILE_NAMES[i], contents[i].data(), uint32_t(contents[i].size())};
    }
    std::vector<uint8_t> package;
    if (!writePackage(files, &package)) abort();
    return package;
}
