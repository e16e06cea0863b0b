#include "posix_platform.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/platform.h"

namespace {
const uint8_t* packageData = nullptr;
uint32_t packageSize = 0;

std::string posixPath(const char* path) {
    std::string out = path;
    for (char& c : out)
        if (c == '\\') c = '/';
    return out;
}
}  // namespace

void setBenchPackage(const uint8_t* data, uint32_t size) {
    packageData = data;
    packageSize = size;
}

namespace platform {

bool lockPackage(ModuleHandle, Resource* resource) {
    if (!packageData) return false;
    resource->data = packageData;
    resource->size = packageSize;
    return true;
}

void releasePackage(Resource* resource) { resource->data = nullptr; }

FolderResult createFolder(const char* path) {
    if (mkdir(posixPath(path).c_str(), 0777) == 0) return FolderResult::created;
    return errno == EEXIST ? FolderResult::alreadyExists : FolderResult::failed;
}

Handle openFileForWriting(const char* path) {
    int file = open(posixPath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    return file < 0 ? nullptr : reinterpret_cast<Handle>(intptr_t(file) + 1);
}

bool writeFileOnce(Handle file, const void* data, uint32_t size, uint32_t* written) {
    ssize_t count = write(int(reinterpret_cast<intptr_t>(file) - 1), data, size);
    *written = count < 0 ? 0 : uint32_t(count);
    return count >= 0;
}

void closeFile(Handle file) { close(int(reinterpret_cast<intptr_t>(file) - 1)); }

void* allocateMemory(uint32_t bytes) { return malloc(bytes); }
void freeMemory(void* block) { free(block); }

}  // namespace platform
