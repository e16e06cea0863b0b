#include "install/setup_copy.h"

#include "app/context.h"

namespace {
// What the copy is read from: the handle held since start. Where the start could not hold the
// file, a hold taken now, but only on the very file that was started: another file put in
// its place since then is refused. *taken: the caller closes it.
platform::Handle copySource(const char* setupPath, bool* taken) {
    *taken = false;
    if (startedProgram.held) return startedProgram.file;
    platform::Handle held = platform::openFileHeld(setupPath);
    if (held && platform::sameFile(held, startedProgram.file)) {
        *taken = true;
        return held;
    }
    if (held) platform::closeFile(held);
    return nullptr;
}

// The whole file from its start; a target left short is deleted.
bool writeCopy(platform::Handle source, const char* target) {
    platform::Handle out = platform::openFileForWriting(target);
    if (!out) return false;
    char chunk[32 * 1024];
    uint64_t offset = 0;
    uint32_t got = 0, written = 0;
    bool ok = true;
    while (ok && (ok = platform::readFileAt(source, offset, chunk, sizeof chunk, &got)) && got) {
        ok = platform::writeFileOnce(out, chunk, got, &written) && written == got;
        offset += got;
    }
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
    if (isStartedProgram(copyPath)) return true;
    bool taken = false;
    platform::Handle source = copySource(setupPath, &taken);
    bool written = source && writeCopy(source, copyPath);
    if (taken) platform::closeFile(source);
    if (written) platform::setNormalAttributes(copyPath);
    return written;
}
