// The package embedded in the setup program: its directory and the extraction of its files.
#pragma once
#include <cstdint>

#include "package/package_entry.h"

struct InstallerContext;

// Copies the package directory into context->packageDirectory: 0, or -1 when the package
// cannot be reached or is not larger than its directory.
int32_t loadPackageDirectory(InstallerContext* context);

// Extracts, descrambles and verifies all entries into context->installFolder, which the
// caller has created: 0 when all were written; -(100 + F) when F entries failed; -1 when the
// package cannot be reached, or nothing failed but the last entry was empty. The package
// itself is left as it is, so an extraction may follow another in the same process.
int32_t extractPackage(InstallerContext* context);

// The same for the entries whose bit is set in chosen (bit i for entry i); F counts only
// those. The keystream still runs through every entry, as each chains from the one before.
int32_t extractPackageEntries(InstallerContext* context, uint32_t chosen);
inline constexpr uint32_t ALL_PACKAGE_ENTRIES = (1u << PACKAGE_ENTRY_COUNT) - 1;
