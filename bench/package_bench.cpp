// Throughput of the package extraction and of its parts, in MB/s, against OpenSSL's MD5 as
// the reference: the digest alone (ours and OpenSSL's), the keystream alone, descrambling
// and verifying in memory, and the whole extraction into a temporary folder on disk.
#include <benchmark/benchmark.h>
#include <openssl/evp.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/context.h"
#include "package/entry_codec.h"
#include "package/keystream.h"
#include "package/md5.h"
#include "package/package.h"
#include "package/package_writer.h"
#include "posix_platform.h"

namespace {

// Sizes like the shipped package's: programs of a few MB, driver files of tens of KB,
// modules of a few hundred KB, small text files and 72x72 images. About 14.5 MB in all.
constexpr uint32_t FILE_SIZES[PACKAGE_ENTRY_COUNT] = {
    6 * 1024,    3900 * 1024, 4700 * 1024, 1250 * 1024, 12 * 1024,  7 * 1024,
    52 * 1024,   56 * 1024,   1650 * 1024, 960 * 1024,  210 * 1024, 260 * 1024,
    215 * 1024,  265 * 1024,  215 * 1024,  265 * 1024,  220 * 1024, 270 * 1024,
    130 * 1024,  5 * 1024,    4 * 1024,    3 * 1024,    3 * 1024,
};

struct BenchPackage {
    std::vector<uint8_t> scrambled;
    std::vector<uint8_t> working;  // descrambled in place by each run
};

const BenchPackage& benchPackage() {
    static BenchPackage package = [] {
        BenchPackage made;
        std::vector<uint8_t> contents[PACKAGE_ENTRY_COUNT];
        PackageFile files[PACKAGE_ENTRY_COUNT];
        uint32_t seed = 12345;
        for (int i = 0; i < PACKAGE_ENTRY_COUNT; ++i) {
            contents[i].resize(FILE_SIZES[i]);
            for (uint8_t& byte : contents[i]) {
                seed = seed * 1103515245 + 12345;
                byte = uint8_t(seed >> 16);
            }
            files[i] = {PACKAGE_FILE_NAMES[i], contents[i].data(), FILE_SIZES[i]};
        }
        if (!writePackage(files, &made.scrambled)) abort();
        made.working = made.scrambled;
        return made;
    }();
    return package;
}

void reportBytes(benchmark::State& state, size_t size) {
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(size));
}

void BM_Md5OpenSsl(benchmark::State& state) {
    const auto& data = benchPackage().scrambled;
    unsigned char digest[16];
    unsigned int length;
    for (auto _ : state) {
        EVP_Digest(data.data(), data.size(), digest, &length, EVP_md5(), nullptr);
        benchmark::DoNotOptimize(digest);
    }
    reportBytes(state, data.size());
}
BENCHMARK(BM_Md5OpenSsl)->Unit(benchmark::kMillisecond);

void BM_Md5Ours(benchmark::State& state) {
    const auto& data = benchPackage().scrambled;
    uint8_t digest[16];
    for (auto _ : state) {
        md5(data.data(), data.size(), digest);
        benchmark::DoNotOptimize(digest);
    }
    reportBytes(state, data.size());
}
BENCHMARK(BM_Md5Ours)->Unit(benchmark::kMillisecond);

void BM_Keystream(benchmark::State& state) {
    std::vector<uint8_t> data = benchPackage().scrambled;
    const uint8_t digest[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    for (auto _ : state) {
        applyKeystream(data.data(), uint32_t(data.size()), PACKAGE_INITIAL_KEY_STATE, digest);
        benchmark::ClobberMemory();
    }
    reportBytes(state, data.size());
}
BENCHMARK(BM_Keystream)->Unit(benchmark::kMillisecond);

// Descrambling and both digests of every entry, without files: the extraction's CPU part.
void BM_DecodeInMemory(benchmark::State& state) {
    const auto& package = benchPackage();
    std::vector<uint8_t> data;
    PackageEntry directory[PACKAGE_ENTRY_COUNT];
    memcpy(directory, package.scrambled.data(), sizeof directory);
    for (auto _ : state) {
        state.PauseTiming();
        data = package.scrambled;
        state.ResumeTiming();
        PackageChain chain;
        startChain(&chain);
        for (const PackageEntry& entry : directory)
            if (!decodeEntry(data.data() + entry.dataOffset, entry.dataSize, entry.contentDigest,
                             &chain))
                state.SkipWithError("digest mismatch");
    }
    reportBytes(state, package.scrambled.size());
}
BENCHMARK(BM_DecodeInMemory)->Unit(benchmark::kMillisecond);

void BM_ExtractToDisk(benchmark::State& state) {
    static InstallerContext context;
    char folder[] = "/tmp/ql_bench_XXXXXX";
    if (!mkdtemp(folder)) {
        state.SkipWithError("no temporary folder");
        return;
    }
    strcpy(context.installFolder, folder);
    auto package = benchPackage().scrambled;
    for (auto _ : state) {
        state.PauseTiming();
        package = benchPackage().scrambled;
        setBenchPackage(package.data(), uint32_t(package.size()));
        state.ResumeTiming();
        if (extractPackage(&context) != 0) state.SkipWithError("extraction failed");
    }
    reportBytes(state, package.size());
    for (const char* name : PACKAGE_FILE_NAMES) unlink((std::string(folder) + "/" + name).c_str());
    rmdir(folder);
}
// Real time: the writes may wait for the disk.
BENCHMARK(BM_ExtractToDisk)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
