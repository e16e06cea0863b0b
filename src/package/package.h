// The package embedded in the setup program: its directory and the extraction of its files.
#pragma once
#include <cstdint>

struct InstallerContext;

// Copies the package directory into context->packageDirectory: 0, or -1 when the package
// cannot be reached or is not larger than its directory.
int32_t loadPackageDirectory(InstallerContext* context);

// Extracts, descrambles and verifies all entries into context->installFolder, which the
// caller has created: 0 when all were written; -(100 + F) when F entries failed; -1 when the
// package cannot be reached, or nothing failed but the last entry was empty.
int32_t extractPackage(InstallerContext* context);
