// The checks that decide, before the user can act, whether the product counts as installed
// and whether something forbids a plain install. All run on the main thread at window creation.
#pragma once
#include <cstdint>

#include "install/vaio_component.h"

struct InstallerContext;

// 1 when the uninstall entry holds a REG_SZ "UninstallString" (even an empty one), else 0.
int32_t uninstallEntryCheck();
// 0 when the entry's UninstallString names a setup program of another file name than
// setupPath (ASCII case ignored), quoted or not; 1 otherwise, also when there is nothing to
// compare.
int32_t sameSetupCheck(const InstallerContext* context);
// Where a product device name was found in the inventory: 0, 1-4 (inputs), 11-14 (outputs).
int32_t deviceNameScan();
// Any trace of the VAIO interface marks the driver and the product as installed. 1 if found.
int32_t vaioInterfaceProbe(InstallerContext* context);
