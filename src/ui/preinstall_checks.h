// The checks that decide, before the user can act, whether the product counts as installed
// and whether something forbids a plain install. All run on the main thread at window creation.
#pragma once
#include <cstdint>

#include "platform/platform.h"

struct InstallerContext;

// {66CAA746-1518-4C53-B6E6-9E550A734FD1}
inline constexpr platform::Guid VAIO_INTERFACE_CLASS = {
    0x66CAA746, 0x1518, 0x4C53, {0xB6, 0xE6, 0x9E, 0x55, 0x0A, 0x73, 0x4F, 0xD1}};

// 1 when the uninstall entry holds a REG_SZ "UninstallString" (even an empty one), else 0.
int32_t uninstallEntryCheck();
// 0 when the entry's UninstallString names a setup program of another file name than
// setupPath (ASCII case ignored); 1 otherwise, also when there is nothing to compare.
int32_t sameSetupCheck(const InstallerContext* context);
// Where a product device name was found in the inventory: 0, 1-4 (inputs), 11-14 (outputs).
int32_t deviceNameScan();
// Any trace of the VAIO interface marks the driver and the product as installed. 1 if found.
int32_t vaioInterfaceProbe(InstallerContext* context);
