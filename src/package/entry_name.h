// Entry names come from the package, so they are checked before they become paths: only a
// plain relative name that stays inside the install folder is accepted.
#pragma once
#include <cstddef>

// name is a field of capacity bytes; the name must end within it.
bool isSafeEntryName(const char* name, size_t capacity);
