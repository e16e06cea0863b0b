// The package decoder in memory against our own MD5 in the same build, without the
// benchmark library, so that it also runs as the setup program's i686 build under Wine
// (bench/decode_ratio_wine.sh). Small package, many runs, best of each: the machine may be
// busy. Prints MB/s and each figure as a ratio to one MD5 pass.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "bench_package.h"
#include "package/md5.h"
#include "three_passes.h"

namespace {

using Decoder = bool (*)(uint8_t*, uint32_t, const uint8_t[16], PackageChain*);

bool md5Only(uint8_t* bytes, uint32_t size, const uint8_t[16], PackageChain* chain) {
    md5(bytes, size, chain->digest);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? atoi(argv[1]) : 200;
    const std::vector<uint8_t> scrambled = makeBenchPackage(8);
    PackageEntry directory[PACKAGE_ENTRY_COUNT];
    memcpy(directory, scrambled.data(), sizeof directory);
    const char* names[] = {"our MD5", "decode, fused", "decode, three passes"};
    Decoder decoders[] = {md5Only, decodeEntry, decodeInThreePasses};
    double best[3] = {1e9, 1e9, 1e9};
    std::vector<uint8_t> data;
    for (int run = 0; run < runs; ++run) {
        for (int d = 0; d < 3; ++d) {
            data = scrambled;
            auto start = std::chrono::steady_clock::now();
            PackageChain chain;
            startChain(&chain);
            for (const PackageEntry& entry : directory)
                if (!decoders[d](data.data() + entry.dataOffset, entry.dataSize,
                                 entry.contentDigest, &chain)) {
                    fprintf(stderr, "%s: digest mismatch\n", names[d]);
                    return 1;
                }
            std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            if (took.count() < best[d]) best[d] = took.count();
        }
    }
    for (int d = 0; d < 3; ++d)
        printf("%-22s %7.1f MB/s  %.2f of our MD5\n", names[d], scrambled.size() / best[d] / 1e6,
               best[0] / best[d]);
    return 0;
}
