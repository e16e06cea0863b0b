// Removal of a registry key with every key below it.
#pragma once
#include <cstdint>

#include "platform/platform.h"

// Deletes root\subkey and everything below it, in root's default view: 1 when it is
// deleted, 0 when it cannot be opened or deleted.
int32_t removeKeyTree(platform::Handle root, const char* subkey);
