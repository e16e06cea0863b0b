// File access on the build machine for the package tool. Each failure prints one line on
// stderr and returns false.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

bool readWholeFile(const std::string& path, std::vector<uint8_t>* bytes);
// Writes to a temporary name beside path and renames it into place, so that a failure
// never leaves a half-written file under the final name.
bool replaceFile(const std::string& path, const uint8_t* bytes, size_t size);
// Creates the folder and its missing parents.
bool makeFolders(const std::string& path);
