#include "output.h"
#include <algorithm>
#include <cstdio>

namespace {

bool sameContent(const char* path, const Bytes& content) {
    FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    Bytes existing(content.size() + 1);
    size_t length = std::fread(existing.data(), 1, existing.size(), file);
    std::fclose(file);
    return length == content.size() && std::equal(content.begin(), content.end(), existing.begin());
}

}  // namespace

int writeIfChanged(const char* path, const Bytes& content) {
    if (sameContent(path, content)) return 0;
    FILE* file = std::fopen(path, "wb");
    if (!file) return -1;
    size_t written = std::fwrite(content.data(), 1, content.size(), file);
    bool closed = std::fclose(file) == 0;
    return written == content.size() && closed ? 1 : -1;
}
