// File access on the build machine for the package tool. Each failure prints one line on
// stderr and returns false.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>

// A whole file in one buffer that is not zeroed first. Large files get huge pages where the
// system offers them: for a package of a hundred MB, faulting in small pages costs more
// than the read itself.
struct FileBytes {
    std::unique_ptr<uint8_t, decltype(&free)> buffer{nullptr, &free};
    size_t size = 0;

    uint8_t* data() { return buffer.get(); }
    std::span<uint8_t> bytes() { return {buffer.get(), size}; }
};

// Reads the file in one read at its known size.
bool readWholeFile(const std::string& path, FileBytes* bytes);
// Writes to a temporary name beside path and renames it into place, so that a failure
// never leaves a half-written file under the final name.
bool replaceFile(const std::string& path, const uint8_t* bytes, size_t size);
// Creates the folder and its missing parents.
bool makeFolders(const std::string& path);
