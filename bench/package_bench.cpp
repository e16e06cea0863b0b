// Throughput of the package extraction and of its parts, in MB/s, against OpenSSL's MD5 as
// the reference: the digest alone (ours and OpenSSL's), the keystream alone, descrambling
// and verifying in memory (the fused decoder, and the same work in three passes), and the
// whole extraction into a temporary folder on disk.
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
#include "bench_package.h"
#include "posix_platform.h"
#include "three_passes.h"

namespace {

// The scrambled package, made once.
const std::vector<uint8_t>& benchPackage() {
    static const std::vector<uint8_t> package = makeBenchPackage();
    return package;
}

void reportBytes(benchmark::State& state, size_t size) {
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(size));
}

void BM_Md5OpenSsl(benchmark::State& state) {
    const auto& data = benchPackage();
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
    const auto& data = benchPackage();
    uint8_t digest[16];
    for (auto _ : state) {
        md5(data.data(), data.size(), digest);
        benchmark::DoNotOptimize(digest);
    }
    reportBytes(state, data.size());
}
BENCHMARK(BM_Md5Ours)->Unit(benchmark::kMillisecond);

void BM_Keystream(benchmark::State& state) {
    std::vector<uint8_t> data = benchPackage();
    const uint8_t digest[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    for (auto _ : state) {
        applyKeystream(data.data(), uint32_t(data.size()), PACKAGE_INITIAL_KEY_STATE, digest);
        benchmark::ClobberMemory();
    }
    reportBytes(state, data.size());
}
BENCHMARK(BM_Keystream)->Unit(benchmark::kMillisecond);

// Descrambling and both digests of every entry, without files: the extraction's CPU part.
template <bool (*decode)(uint8_t*, uint32_t, const uint8_t[16], PackageChain*)>
void decodeInMemory(benchmark::State& state) {
    const auto& package = benchPackage();
    std::vector<uint8_t> data;
    PackageEntry directory[PACKAGE_ENTRY_COUNT];
    memcpy(directory, package.data(), sizeof directory);
    for (auto _ : state) {
        state.PauseTiming();
        data = package;
        state.ResumeTiming();
        PackageChain chain;
        startChain(&chain);
        for (const PackageEntry& entry : directory)
            if (!decode(data.data() + entry.dataOffset, entry.dataSize, entry.contentDigest,
                        &chain))
                state.SkipWithError("digest mismatch");
    }
    reportBytes(state, package.size());
}
void BM_DecodeInMemory(benchmark::State& state) { decodeInMemory<decodeEntry>(state); }
BENCHMARK(BM_DecodeInMemory)->Unit(benchmark::kMillisecond);
void BM_DecodeInThreePasses(benchmark::State& state) {
    decodeInMemory<decodeInThreePasses>(state);
}
BENCHMARK(BM_DecodeInThreePasses)->Unit(benchmark::kMillisecond);

void BM_ExtractToDisk(benchmark::State& state) {
    static InstallerContext context;
    char folder[] = "/tmp/ql_bench_XXXXXX";
    if (!mkdtemp(folder)) {
        state.SkipWithError("no temporary folder");
        return;
    }
    strcpy(context.installFolder, folder);
    const auto& package = benchPackage();  // left as it is by each extraction
    setBenchPackage(package.data(), uint32_t(package.size()));
    for (auto _ : state)
        if (extractPackage(&context) != 0) state.SkipWithError("extraction failed");
    reportBytes(state, package.size());
    for (const char* name : PACKAGE_FILE_NAMES) unlink((std::string(folder) + "/" + name).c_str());
    rmdir(folder);
}
// Real time: the writes may wait for the disk.
BENCHMARK(BM_ExtractToDisk)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
