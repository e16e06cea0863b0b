// Where the VAIO endpoints' icons come from: the driver's file, below "%windir%\".
#pragma once
#include <cstddef>

constexpr size_t ICON_SOURCE_CAPACITY = 1024;

// From the MME service's "ImagePath", else from the media class key's subkey whose
// "MatchingDeviceId" names the driver service. False when neither gives a path.
bool findIconSource(char16_t (&out)[ICON_SOURCE_CAPACITY]);
