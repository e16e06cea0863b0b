// The record that the build completes in the linked setup program (tools/qlseal), found in
// its file by its mark, which occurs there once. It holds the stamp (the program's digest,
// see program_digest.h), where the stamp lies in the file, and the load configuration, to
// which the tool points the header's directory entry (the linker cannot).
#pragma once
#include <cstddef>
#include <cstdint>

inline constexpr uint8_t SEAL_MARK[16] = {'Q', 'L', ' ', 's', 'e', 'a', 'l', ' ',
                                          0x5e, 0x1f, 0xc3, 0x0a, 0x92, 0x4d, 0xe7, 0x21};
inline constexpr size_t SEAL_STAMP_OFFSET_AT = 16;  // uint32, little-endian: the stamp's offset
inline constexpr size_t SEAL_STAMP_AT = 20;
inline constexpr size_t SEAL_LOAD_CONFIG_AT = 56;  // starts with its own size, a uint32
