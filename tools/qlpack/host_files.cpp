#include "host_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

bool readWholeFile(const std::string& path, std::vector<uint8_t>* bytes) {
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) {
        fprintf(stderr, "qlpack: cannot open %s: %s\n", path.c_str(), strerror(errno));
        return false;
    }
    bytes->clear();
    uint8_t buffer[65536];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0) {
        if (bytes->size() + got > UINT32_MAX) {
            fprintf(stderr, "qlpack: %s is larger than 4 GB\n", path.c_str());
            fclose(file);
            return false;
        }
        bytes->insert(bytes->end(), buffer, buffer + got);
    }
    bool failed = ferror(file);
    fclose(file);
    if (failed) fprintf(stderr, "qlpack: cannot read %s\n", path.c_str());
    return !failed;
}

bool replaceFile(const std::string& path, const uint8_t* bytes, size_t size) {
    std::string temporary = path + ".tmp" + std::to_string(getpid());
    FILE* file = fopen(temporary.c_str(), "wb");
    if (!file) {
        fprintf(stderr, "qlpack: cannot create %s: %s\n", temporary.c_str(), strerror(errno));
        return false;
    }
    bool ok = fwrite(bytes, 1, size, file) == size;
    ok = fclose(file) == 0 && ok;
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
