// Registration of the eight ASIO driver modules: the 32-bit ones inside this process, the
// 64-bit ones through the 64-bit registration tool. No failure is ever reported.
#pragma once
#include <cstdint>

struct InstallerContext;

enum class RegistrationMode { registerModules, unregisterModules };

// Always 0.
int32_t registerAsioModules(InstallerContext* context, RegistrationMode mode);
