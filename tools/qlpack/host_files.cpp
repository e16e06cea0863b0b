#include "host_files.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {
constexpr size_t HUGE_PAGE = size_t(2) << 20;

uint8_t* allocateUnzeroed(size_t size) {
    if (size < HUGE_PAGE) return static_cast<uint8_t*>(malloc(size > 0 ? size : 1));
    size_t rounded = (size + HUGE_PAGE - 1) / HUGE_PAGE * HUGE_PAGE;
    void* buffer = aligned_alloc(HUGE_PAGE, rounded);
    if (buffer) madvise(buffer, rounded, MADV_HUGEPAGE);  // a hint; small pages also work
    return static_cast<uint8_t*>(buffer);
}
}  // namespace

bool readWholeFile(const std::string& path, FileBytes* bytes) {
    int file = open(path.c_str(), O_RDONLY);
    struct stat status;
    if (file < 0 || fstat(file, &status) != 0) {
        fprintf(stderr, "qlpack: cannot open %s: %s\n", path.c_str(), strerror(errno));
        if (file >= 0) close(file);
        return false;
    }
    if (uint64_t(status.st_size) > UINT32_MAX) {
        fprintf(stderr, "qlpack: %s is larger than 4 GB\n", path.c_str());
        close(file);
        return false;
    }
    bytes->size = size_t(status.st_size);
    bytes->buffer.reset(allocateUnzeroed(bytes->size));
    if (!bytes->data()) {
        fprintf(stderr, "qlpack: no memory for %s\n", path.c_str());
        close(file);
        return false;
    }
    // The loop only covers reads that the system cuts short.
    size_t done = 0;
    while (done < bytes->size) {
        ssize_t got = read(file, bytes->data() + done, bytes->size - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += size_t(got);
    }
    close(file);
    if (done == bytes->size) return true;
    fprintf(stderr, "qlpack: cannot read %s\n", path.c_str());
    return false;
}

bool replaceFile(const std::string& path, const uint8_t* bytes, size_t size) {
    std::string temporary = path + ".tmp" + std::to_string(getpid());
    int file = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (file < 0) {
        fprintf(stderr, "qlpack: cannot create %s: %s\n", temporary.c_str(), strerror(errno));
        return false;
    }
    // Written straight from the buffer, as few calls as the system allows.
    size_t done = 0;
    while (done < size) {
        ssize_t put = write(file, bytes + done, size - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) break;
        done += size_t(put);
    }
    bool ok = close(file) == 0 && done == size;
    if (ok && rename(temporary.c_str(), path.c_str()) == 0) return true;
    fprintf(stderr, "qlpack: cannot write %s: %s\n", path.c_str(), strerror(errno));
    remove(temporary.c_str());
    return false;
}

bool makeFolders(const std::string& path) {
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        std::string part = path.substr(0, slash);
        if (!part.empty() && mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) {
            fprintf(stderr, "qlpack: cannot create folder %s: %s\n", part.c_str(), strerror(errno));
            return false;
        }
        if (slash == std::string::npos) return true;
    }
}
