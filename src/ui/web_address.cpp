#include "ui/web_address.h"

#include <cstring>

#include "platform/platform.h"

void scrambleAddress(uint8_t* bytes, uint32_t length, uint32_t seed) {
    uint32_t k = seed;
    for (uint32_t p = 0; p < length; ++p) {
        uint32_t sum = k + (length - p);
        uint32_t square = sum * sum;  // wraps modulo 2^32 like the signed product would
        k = (square >> 8) | ((square & 0x80000000u) ? 0xFF000000u : 0u);
        bytes[p] ^= uint8_t(k & 0xFF);
    }
}

bool readWebAddress(const uint8_t* stored, uint32_t size, char* out, size_t capacity) {
    if (size > capacity) return false;
    memcpy(out, stored, size);
    scrambleAddress(reinterpret_cast<uint8_t*>(out), size, WEB_ADDRESS_SEED);
    return true;
}

void wipeWebAddress(char* text, size_t capacity) {
    volatile char* wipe = text;  // volatile: the stores must stay although nothing reads them
    for (size_t i = 0; i < capacity; ++i) wipe[i] = 0;
}

void openWebAddress(const uint8_t* stored, uint32_t size) {
    char address[512];
    if (!readWebAddress(stored, size, address, sizeof address)) return;
    // Never from here: the person's programs can end their desktop shell, and a browser that
    // this program started would run with its administrator rights.
    platform::shellOpenAsDesktopUser(address);
    wipeWebAddress(address, sizeof address);
}

// "https://quillon.example/" and "https://quillon.example/orvalo/installed", scrambled with
// WEB_ADDRESS_SEED (terminators included).
const uint8_t HOME_ADDRESS[25] = {
    0x78, 0xC2, 0xC6, 0x3C, 0x47, 0x2E, 0x70, 0x58, 0x09, 0x9D, 0xF3, 0x72,
    0xDD, 0xE2, 0x84, 0x0E, 0x4B, 0x1F, 0x06, 0x8B, 0xC5, 0x2D, 0xBF, 0x2A,
    0xC8,
};
const uint8_t AFTER_INSTALL_ADDRESS[41] = {
    0xF9, 0x17, 0x1E, 0xE1, 0xC2, 0x8B, 0x60, 0xE4, 0x58, 0xEF, 0xBA, 0xA4,
    0x3E, 0x20, 0x4D, 0x04, 0x1A, 0x79, 0x93, 0xCD, 0xB9, 0xA6, 0x8B, 0x2F,
    0x4E, 0x9F, 0xF6, 0xBB, 0x20, 0x71, 0xF9, 0x2D, 0x03, 0x2C, 0xB4, 0xA0,
    0xA5, 0x22, 0x8A, 0xBE, 0xA9,
};
