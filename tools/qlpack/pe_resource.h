// Finds the package inside a setup program: resource type RT_RCDATA (10), id 100, any
// language, located through the PE resource directory and the section table.
#pragma once
#include <cstdint>
#include <span>

struct FileSpan {
    uint32_t offset;
    uint32_t size;
};

bool looksLikePe(std::span<const uint8_t> file);
// False with a one-line reason in error when the file is malformed or holds no package.
bool findPackageResource(std::span<const uint8_t> file, FileSpan* span, const char** error);
