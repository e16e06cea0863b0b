// File and folder writers shared by the extraction and the install procedure.
#pragma once
#include <cstdint>

// Creates every missing folder of path: 1 when all exist afterwards, else 0.
int32_t createFolderTree(const char* path);

// Creates or overwrites path with bytes in one write: 1, or 0 on any failure.
int32_t writeWholeFile(const char* path, const void* bytes, uint32_t size);
