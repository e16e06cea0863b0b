// The few platform functions that extraction uses, on a POSIX file system ("\" becomes "/"),
// so that the benchmark measures extraction to a real disk.
#pragma once
#include <cstdint>

// The bytes that platform::lockPackage hands out.
void setBenchPackage(const uint8_t* data, uint32_t size);
