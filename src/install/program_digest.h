// The digest that proves a file to be this very setup program. The build stamps it into the
// finished program (tools/qlseal); before the install copies its own file, it computes the
// same over the file and compares it with the stamp in its loaded image.
#pragma once
#include <cstdint>

#include "package/sha256.h"

// SHA-256 of a program file with the exclusions of a code signature's digest: the checksum
// field, the certificate table's directory entry and the certificate table at the file's end
// are left out, so a signature added after the build keeps the digest; the SHA256_SIZE bytes
// at stampOffset, where the stamp goes, count as zeros. False when the bytes are no program
// image that can be read so (a certificate table elsewhere than after all the sections'
// data, a stamp outside the digested bytes): such a file proves nothing.
bool programDigest(const uint8_t* file, uint64_t size, uint64_t stampOffset,
                   uint8_t digest[SHA256_SIZE]);
