// Opens one of the two stored web addresses in the default browser.
#pragma once
#include <windows.h>

#include <cstdint>

void openWebAddress(HWND owner, const uint8_t* stored, uint32_t size);
