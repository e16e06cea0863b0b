#include "install/setup_copy.h"

#include <cstring>

#include "app/context.h"
#include "install/program_digest.h"

namespace {
// What the copy is read from: the handle held since start. Where the start could not hold the
// file, a hold taken now (*taken: the caller closes it); another program put in its place
// since then fails the proof below, as a file swapped before the start held it does.
platform::Handle copySource(const char* setupPath, bool* taken) {
    *taken = !startedProgram.held;
    return *taken ? platform::openFileHeld(setupPath) : startedProgram.file;
}

struct FileBytes {
    uint8_t* data;
    uint32_t size;
};

// The whole file, in one pass from its start; false when any of it cannot be read.
bool readWhole(platform::Handle file, FileBytes* out) {
    uint64_t size = 0;
    if (!platform::fileSize(file, &size) || size > UINT32_MAX) return false;
    out->data = static_cast<uint8_t*>(platform::allocateMemory(uint32_t(size)));
    out->size = uint32_t(size);
    uint32_t at = 0, got = 0;
    while (out->data && at < out->size &&
           platform::readFileAt(file, at, out->data + at, out->size - at, &got) && got)
        at += got;
    return at == out->size;  // with no block, nothing was read
}

// Even a file held since start may not be the program that runs: between the start and the
// hold, another program could rename the running file and put its own under the name. The
// digest that the build stamped into the program, read from the loaded image, tells.
bool isRunningProgram(const FileBytes& file) {
    uint8_t stamp[SHA256_SIZE], digest[SHA256_SIZE];
    uint64_t stampOffset = 0;
    return platform::programStamp(stamp, &stampOffset) &&
           programDigest(file.data, file.size, stampOffset, digest) &&
           memcmp(stamp, digest, sizeof digest) == 0;
}

// The whole file in one write; a target left short is deleted.
bool writeCopy(const FileBytes& file, const char* target) {
    platform::Handle out = platform::openFileForWriting(target);
    if (!out) return false;
    uint32_t written = 0;
    bool ok = platform::writeFileOnce(out, file.data, file.size, &written) && written == file.size;
    platform::closeFile(out);
    if (!ok) platform::deleteFile(target);
    return ok;
}

bool isStartedProgram(const char* path) {
    platform::Handle file = platform::openFileIdentity(path);
    bool same = file && platform::sameFile(file, startedProgram.file);
    if (file) platform::closeFile(file);
    return same;
}
}  // namespace

void openStartedProgram(const char* path) {
    platform::Handle held = platform::openFileHeld(path);
    startedProgram = {held ? held : platform::openFileIdentity(path), held != nullptr};
}

bool placeSetupCopy(const char* setupPath, const char* copyPath) {
    if (!startedProgram.file) return false;
    bool taken = false;
    platform::Handle source = copySource(setupPath, &taken);
    FileBytes program = {};
    bool proven = source && readWhole(source, &program) && isRunningProgram(program);
    if (taken && source) platform::closeFile(source);
    bool inPlace = proven && isStartedProgram(copyPath);  // run from the copy
    bool written = proven && !inPlace && writeCopy(program, copyPath);
    platform::freeMemory(program.data);
    if (written) platform::setNormalAttributes(copyPath);
    return inPlace || written;
}
