// Feeds arbitrary bytes to the installer as its package resource and runs the directory load
// and the extraction into the in-memory Windows. Beyond the sanitizers it checks that the
// results are among the documented codes and that nothing lands outside the install folder.
// With QL_WRITE_SEEDS=<folder> it writes a few valid packages there and exits (fuzz/run.sh).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/context.h"
#include "platform/fake/fake_platform.h"
#include "package/package.h"
#include "package/package_writer.h"

namespace {

const char* const INSTALL_FOLDER = "C:\\QL";

void writeSeed(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* file = fopen(path.c_str(), "wb");
    if (!file || fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) abort();
    fclose(file);
}

// Packages of the shipped names, or with entry 3 in a subfolder, entries of sizeStep * i bytes.
std::vector<uint8_t> seedPackage(uint32_t sizeStep, bool subfolder) {
    std::vector<uint8_t> contents[PACKAGE_ENTRY_COUNT];
    PackageFile files[PACKAGE_ENTRY_COUNT];
    for (int i = 0; i < PACKAGE_ENTRY_COUNT; ++i) {
        contents[i].assign(sizeStep * i, uint8_t('a' + i));
        files[i] = {PACKAGE_FILE_NAMES[i], contents[i].data(), uint32_t(contents[i].size())};
    }
    if (subfolder) files[3].name = "drivers\\NaltaScreen.exe";
    std::vector<uint8_t> package;
    if (!writePackage(files, &package)) abort();
    return package;
}

void writeSeeds(const char* folder) {
    writeSeed(std::string(folder) + "/tiny", seedPackage(1, false));
    writeSeed(std::string(folder) + "/subfolder", seedPackage(3, true));
    writeSeed(std::string(folder) + "/blocks", seedPackage(17, false));
}

bool isDocumentedResult(int32_t result) {
    return result == 0 || result == -1 || (result <= -101 && result >= -123);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (const char* folder = getenv("QL_WRITE_SEEDS")) {
        writeSeeds(folder);
        exit(0);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static InstallerContext context;
    memset(&context, 0, sizeof context);
    strcpy(context.installFolder, INSTALL_FOLDER);
    fake::reset();
    platform::createFolder(INSTALL_FOLDER);
    fake::state().package.assign(data, data + size);

    int32_t loaded = loadPackageDirectory(&context);
    if (loaded != (size > PACKAGE_DIRECTORY_SIZE ? 0 : -1)) abort();
    if (!isDocumentedResult(extractPackage(&context))) abort();

    std::string inside = fake::lower(INSTALL_FOLDER) + "\\";
    for (const auto& file : fake::state().files)
        if (file.first.compare(0, inside.size(), inside) != 0) abort();
    for (const auto& folder : fake::state().folders)
        if (folder.first != "c:" && folder.first.compare(0, inside.size() - 1, inside, 0,
                                                         inside.size() - 1) != 0)
            abort();
    return 0;
}
