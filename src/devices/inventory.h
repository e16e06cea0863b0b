// Snapshot of the system's audio devices, taken once at start-up.
#pragma once
#include <cstdint>

int32_t initInventory();
void closeInventory();
