// Reading and writing the endpoint store's property values, and the two tests that the
// naming applies to them. Key paths are below HKEY_LOCAL_MACHINE.
#pragma once
#include <cstddef>
#include <cstdint>

// A REG_SZ or REG_EXPAND_SZ text (not expanded), from the default view or else the 64-bit
// view, up to its terminator and at most 4,050 bytes, cut to capacity characters with the
// terminator. False when the key, the value or a string type is missing.
bool readProperty(const char16_t* keyPath, const char16_t* valueName, char16_t* out,
                  size_t capacity);
// Sets a REG_SZ in the view given (64-bit when view64), creating the key when it cannot be
// opened. True when the value was set.
bool writeProperty(bool view64, const char16_t* keyPath, const char16_t* valueName,
                   const char16_t* text);

// The driver service's name, "QLOrvaloVAIO", letters a to z in either case.
bool isVaioServiceName(const char16_t* text);
// The number in an endpoint's last four characters: 1000 c1 + 100 c2 + 10 c3 + c4 with each
// code less 48, digits or not; -1 for texts of fewer than 5 characters.
int32_t endpointNumber(const char16_t* text);
