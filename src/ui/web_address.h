// The two web addresses that the window opens (the uninstall entry names the first too), kept
// scrambled in the program so that they do not stand in its image as plain text. The keystream
// is its own inverse.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr uint32_t WEB_ADDRESS_SEED = 0x5A17C3E9u;
constexpr uint32_t HOME_ADDRESS_SIZE = 25;           // with the terminating zero
constexpr uint32_t AFTER_INSTALL_ADDRESS_SIZE = 41;  // likewise

extern const uint8_t HOME_ADDRESS[HOME_ADDRESS_SIZE];
extern const uint8_t AFTER_INSTALL_ADDRESS[AFTER_INSTALL_ADDRESS_SIZE];

// XORs each byte with the low byte of k, where for position p k becomes
// ((k + (length - p))^2) >> 8 in signed 32-bit arithmetic (wrapping product, sign-copying
// shift). Applying it twice gives the bytes back.
void scrambleAddress(uint8_t* bytes, uint32_t length, uint32_t seed);

// The stored address as text in out (capacity bytes): false when it does not fit. Whoever
// reads one wipes it with wipeWebAddress once done with it.
bool readWebAddress(const uint8_t* stored, uint32_t size, char* out, size_t capacity);
void wipeWebAddress(char* text, size_t capacity);

// Opens a stored address in the default browser through the desktop shell, as the signed-in
// person; where no desktop shell can be reached, no page opens. The unscrambled text is wiped
// afterwards.
void openWebAddress(const uint8_t* stored, uint32_t size);
