#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "app/context.h"
#include "platform/fake/fake_platform.h"
#include "package/md5.h"
#include "package/package.h"
#include "package/package_writer.h"
#include "package_builder.h"

namespace {

const char* const INSTALL_FOLDER = "C:\\Program Files\\Quillon Orvalo";

class Extraction : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        *context = InstallerContext{};
        strcpy(context->installFolder, INSTALL_FOLDER);
        platform::createFolder("C:\\Program Files");
        platform::createFolder(INSTALL_FOLDER);
    }
    int32_t extract(const BuiltPackage& package) {
        fake::state().package = package.bytes;
        return extractPackage(context);
    }
    static std::string target(const std::string& name) {
        return std::string(INSTALL_FOLDER) + "\\" + name;
    }
    static std::string fileContent(const std::string& name) {
        auto found = fake::state().files.find(fake::lower(target(name)));
        return found == fake::state().files.end() ? "<missing>" : found->second;
    }
    // Every entry other than those listed was written with its plain content.
    static void expectWrittenExcept(const BuiltPackage& package, std::vector<int> failed) {
        for (int i = 0; i < PACKAGE_ENTRY_COUNT; ++i) {
            bool shouldFail = std::find(failed.begin(), failed.end(), i) != failed.end();
            if (shouldFail)
                EXPECT_FALSE(fake::fileExists(target(PACKAGE_FILE_NAMES[i]))) << i;
            else
                EXPECT_EQ(fileContent(PACKAGE_FILE_NAMES[i]), package.contents[i]) << i;
        }
    }
    static size_t writeCount() { return fake::eventsStartingWith("write ").size(); }

    std::unique_ptr<InstallerContext> contextRecord = std::make_unique<InstallerContext>();
    InstallerContext* context = contextRecord.get();
};

}  // namespace

TEST_F(Extraction, DirectoryLoadNeedsMoreThanTheDirectory) {
    memset(context->packageDirectory, 0xAA, sizeof context->packageDirectory);
    fake::state().package.assign(PACKAGE_DIRECTORY_SIZE, 0x11);
    EXPECT_EQ(loadPackageDirectory(context), -1);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(context->packageDirectory)[0], 0xAA);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(context->packageDirectory)[PACKAGE_DIRECTORY_SIZE - 1],
              0xAA);

    fake::state().package.assign(PACKAGE_DIRECTORY_SIZE + 1, 0x11);
    EXPECT_EQ(loadPackageDirectory(context), 0);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(context->packageDirectory)[PACKAGE_DIRECTORY_SIZE - 1],
              0x11);

    fake::state().packagePresent = false;
    EXPECT_EQ(loadPackageDirectory(context), -1);
    EXPECT_EQ(extractPackage(context), -1);
}

TEST_F(Extraction, PackageFromTheWriterExtractsByteIdentically) {
    std::string contents[PACKAGE_ENTRY_COUNT];
    PackageFile files[PACKAGE_ENTRY_COUNT];
    for (int i = 0; i < PACKAGE_ENTRY_COUNT; ++i) {
        contents[i] = sampleContent(i, size_t(i) * i * 11 + 1);
        files[i] = {PACKAGE_FILE_NAMES[i], reinterpret_cast<const uint8_t*>(contents[i].data()),
                    uint32_t(contents[i].size())};
    }
    std::vector<uint8_t> package;
    ASSERT_TRUE(writePackage(files, &package));
    fake::state().package = package;
    EXPECT_EQ(extractPackage(context), 0);
    for (int i = 0; i < PACKAGE_ENTRY_COUNT; ++i)
        EXPECT_EQ(fileContent(PACKAGE_FILE_NAMES[i]), contents[i]) << i;
    EXPECT_EQ(0, memcmp(context->packageDirectory, package.data(), PACKAGE_DIRECTORY_SIZE));
    // The package is descrambled where it lies: a second run finds no intact entry.
    EXPECT_EQ(extractPackage(context), -123);
}

TEST_F(Extraction, EntryOneByteOutsideFailsWithoutChaining) {
    BuiltPackage package = buildPackage({}, 7);
    // Entry 7 keeps its size but moves so that it ends one byte past the package.
    package.entry(7).dataOffset = uint32_t(package.bytes.size()) - package.entry(7).dataSize + 1;
    EXPECT_EQ(extract(package), -101);
    expectWrittenExcept(package, {7});
}

TEST_F(Extraction, OffsetPlusSizeDoesNotWrapAt32Bits) {
    BuiltPackage package = buildPackage({}, 3);
    package.entry(3).dataOffset = 0xFFFFFFF0u;  // + 0x20 wraps to 0x10, inside the package
    package.entry(3).dataSize = 0x20;
    EXPECT_EQ(extract(package), -101);
    expectWrittenExcept(package, {3});
}

TEST_F(Extraction, WrongDigestWritesNothingButLaterEntriesStillExtract) {
    BuiltPackage package = buildPackage();
    package.entry(4).contentDigest[0] ^= 0x80;
    EXPECT_EQ(extract(package), -101);
    expectWrittenExcept(package, {4});
}

TEST_F(Extraction, EntriesOutOfChainOrderFail) {
    BuiltPackage package = buildPackage();
    std::swap(package.entry(1), package.entry(2));  // same data, descrambled in the other order
    std::swap(package.contents[1], package.contents[2]);
    int32_t result = extract(package);
    EXPECT_LE(result, -102);
    EXPECT_FALSE(fake::fileExists(target(package.entry(1).name)));
    EXPECT_FALSE(fake::fileExists(target(package.entry(2).name)));
    EXPECT_EQ(fileContent(PACKAGE_FILE_NAMES[0]), package.contents[0]);
}

TEST_F(Extraction, ResultCountsFailedEntries) {
    BuiltPackage package = buildPackage();
    for (int i : {0, 11, 22}) package.entry(i).contentDigest[5] ^= 1;
    EXPECT_EQ(extract(package), -103);
    expectWrittenExcept(package, {0, 11, 22});

    SetUp();
    BuiltPackage outside = buildPackage();
    for (int i = 0; i < PACKAGE_ENTRY_COUNT; ++i) outside.entry(i).dataSize = 0xFFFFFFFFu;
    EXPECT_EQ(extract(outside), -123);
    EXPECT_EQ(writeCount(), 0u);
}

TEST_F(Extraction, EmptyEntries) {
    std::vector<size_t> sizes(PACKAGE_ENTRY_COUNT, 90);
    sizes[10] = 0;
    BuiltPackage middle = buildPackage(sizes);
    EXPECT_EQ(extract(middle), 0);
    EXPECT_TRUE(fake::fileExists(target(PACKAGE_FILE_NAMES[10])));
    EXPECT_EQ(fileContent(PACKAGE_FILE_NAMES[10]), "");

    // An empty last entry is written too, but the whole extraction reports -1.
    SetUp();
    sizes[22] = 0;
    BuiltPackage last = buildPackage(sizes);
    EXPECT_EQ(extract(last), -1);
    EXPECT_EQ(fileContent(PACKAGE_FILE_NAMES[22]), "");
    EXPECT_EQ(fileContent(PACKAGE_FILE_NAMES[21]), last.contents[21]);
}

TEST_F(Extraction, NameWithABackslashCreatesItsSubfolder) {
    BuiltPackage package = buildPackage();
    package.setName(5, "drivers\\x64\\qlorvalovaio64_win10.inf");
    EXPECT_EQ(extract(package), 0);
    EXPECT_TRUE(fake::folderExists(target("drivers")));
    EXPECT_TRUE(fake::folderExists(target("drivers\\x64")));
    EXPECT_EQ(fileContent("drivers\\x64\\qlorvalovaio64_win10.inf"), package.contents[5]);
    // Flat names need no folder: the only folders created are the two above.
    EXPECT_EQ(fake::eventsStartingWith("mkdir ").size(), 4u);  // two from SetUp
}

TEST_F(Extraction, ExistingFileIsOverwrittenAndALockedOneFails) {
    fake::addFile(target(PACKAGE_FILE_NAMES[0]), "an older readme, longer than the new one......");
    fake::addFile(target(PACKAGE_FILE_NAMES[1]), "running");
    fake::state().lockedFiles.insert(fake::lower(target(PACKAGE_FILE_NAMES[1])));
    BuiltPackage package = buildPackage();
    EXPECT_EQ(extract(package), -101);
    EXPECT_EQ(fileContent(PACKAGE_FILE_NAMES[0]), package.contents[0]);
    EXPECT_EQ(fileContent(PACKAGE_FILE_NAMES[1]), "running");
    EXPECT_EQ(fileContent(PACKAGE_FILE_NAMES[2]), package.contents[2]);
}

TEST_F(Extraction, FailedOrShortWritesCount) {
    BuiltPackage package = buildPackage();
    fake::state().failing.insert("writeFileOnce:" + fake::lower(target(PACKAGE_FILE_NAMES[6])));
    EXPECT_EQ(extract(package), -101);

    SetUp();
    fake::state().shortWriteBy = 1;
    EXPECT_EQ(extract(buildPackage()), -123);
}

TEST_F(Extraction, UnsafeNamesAreRefusedAndTheChainGoesOn) {
    const std::string unsafe[] = {
        "",          "C:\\Windows\\evil.dll", "c:evil.dll", "\\evil.dll", "/evil.dll",
        "\\\\server\\share\\evil.dll",        "..\\evil.dll", "sub\\..\\..\\evil.dll",
        "sub/../../evil.dll", "..", "sub\\.. \\..\\evil.dll", "readme.txt:stream",
        "folder\\",  std::string(128, 'a'),
    };
    for (const std::string& name : unsafe) {
        SetUp();
        BuiltPackage package = buildPackage();
        package.setName(8, name);
        EXPECT_EQ(extract(package), -101) << name;
        EXPECT_EQ(writeCount(), 22u) << name;
        for (const auto& file : fake::state().files)
            EXPECT_EQ(file.first.rfind(fake::lower(INSTALL_FOLDER) + "\\", 0), 0u) << file.first;
        expectWrittenExcept(package, {8});
    }
}

TEST_F(Extraction, TargetPathThatDoesNotFitIsRefused) {
    // A long install folder: with some names the joined path exceeds 1023 characters.
    std::string folder = "C:\\" + std::string(970, 'f');
    strcpy(context->installFolder, folder.c_str());
    platform::createFolder(folder.c_str());
    BuiltPackage package = buildPackage();
    package.setName(9, std::string(60, 'n'));  // 973 + 1 + 60 > 1023, the others fit
    EXPECT_EQ(extract(package), -101);
    EXPECT_EQ(writeCount(), 22u);
    EXPECT_EQ(fake::state().files.count(fake::lower(folder + "\\" + PACKAGE_FILE_NAMES[0])), 1u);
}
