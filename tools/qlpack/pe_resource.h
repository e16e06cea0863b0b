// Finds the package inside a setup program: resource type RT_RCDATA (10), id 100, any
// language, located through the PE resource directory and the section table.
#pragma once
#include <cstdint>
#include <vector>

struct FileSpan {
    uint32_t offset;
    uint32_t size;
};

bool looksLikePe(const std::vector<uint8_t>& file);
// False with a one-line reason in error when the file is malformed or holds no package.
bool findPackageResource(const std::vector<uint8_t>& file, FileSpan* span, const char** error);
