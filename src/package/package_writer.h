// Builds a package in memory: the build tool's writer, also used by tests, the fuzzer's
// seeds and the benchmark. Not part of the setup program.
#pragma once
#include <cstdint>
#include <vector>

#include "package/package_entry.h"

struct PackageFile {
    const char* name;
    const uint8_t* data;
    uint32_t size;
};

// Lays the files out back to back after the directory in the given order, digests and
// scrambles them along the chain. False (out untouched) when a name is not a safe entry
// name of at most 127 bytes or the package would not fit 32-bit offsets.
bool writePackage(const PackageFile files[PACKAGE_ENTRY_COUNT], std::vector<uint8_t>* out);
