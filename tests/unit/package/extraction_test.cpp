#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "app/context.h"
#include "platform/fake/fake_platform.h"
#include "package/entry_name.h"
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
        package = buildPackage();
    }
    void TearDown() override { EXPECT_EQ(fake::leftOpen(), ""); }
    int32_t extract(uint32_t chosen = ALL_PACKAGE_ENTRIES) {
        fake::state().package = package.bytes;
        return extractPackageEntries(context, chosen);
    }
    static std::string target(const std::string& name) {
        return std::string(INSTALL_FOLDER) + "\\" + name;
    }
    static std::string fileContent(const std::string& name) {
        auto found = fake::state().files.find(fake::lower(target(name)));
        return found == fake::state().files.end() ? "<missing>" : found->second;
    }
    // Every entry other than those listed was written with its plain content, and nothing
    // else was written: so the listed ones were not written anywhere.
    void expectWrittenExcept(std::vector<int> failed) {
        for (int i = 0; i < PACKAGE_ENTRY_COUNT; ++i) {
            if (std::find(failed.begin(), failed.end(), i) != failed.end()) continue;
            EXPECT_EQ(fileContent(PACKAGE_FILE_NAMES[i]), package.contents[i]) << i;
        }
        EXPECT_EQ(fake::eventsStartingWith("write ").size(), PACKAGE_ENTRY_COUNT - failed.size());
    }

    BuiltPackage package;
    std::unique_ptr<InstallerContext> contextRecord = std::make_unique<InstallerContext>();
    InstallerContext* context = contextRecord.get();
};

}  // namespace

TEST_F(Extraction, DirectoryLoadNeedsMoreThanTheDirectory) {
    auto* directory = reinterpret_cast<uint8_t*>(context->packageDirectory);
    memset(directory, 0xAA, PACKAGE_DIRECTORY_SIZE);
    fake::state().package.assign(PACKAGE_DIRECTORY_SIZE, 0x11);
    EXPECT_EQ(loadPackageDirectory(context), -1);
    EXPECT_EQ(directory[PACKAGE_DIRECTORY_SIZE - 1], 0xAA);  // left alone
    fake::state().package.assign(PACKAGE_DIRECTORY_SIZE + 1, 0x11);
    EXPECT_EQ(loadPackageDirectory(context), 0);
    fake::state().packagePresent = false;
    EXPECT_EQ(extractPackage(context), -1);
}

// Extracting again in the same process (an install, then a removal that writes the driver's
// setup program again) is held by the removal's VaioProgramWrittenAgain.
TEST_F(Extraction, PackageFromTheWriterExtractsByteIdentically) {
    PackageFile files[PACKAGE_ENTRY_COUNT];
    for (int i = 0; i < PACKAGE_ENTRY_COUNT; ++i)
        files[i] = {PACKAGE_FILE_NAMES[i],
                    reinterpret_cast<const uint8_t*>(package.contents[i].data()),
                    uint32_t(package.contents[i].size())};
    files[5].name = "..\\x";  // a name that no extraction would write: no package at all
    EXPECT_FALSE(writePackage(files, &fake::state().package));
    files[5].name = PACKAGE_FILE_NAMES[5];
    ASSERT_TRUE(writePackage(files, &fake::state().package));
    EXPECT_EQ(extractPackage(context), 0);
    expectWrittenExcept({});
}

TEST_F(Extraction, ChosenEntriesAloneAreWrittenWhileTheChainRunsThroughAll) {
    package = buildPackage({}, 3);  // entry 3, outside the package, and 0 are not counted
    package.entry(3).dataOffset = uint32_t(package.bytes.size());
    for (int i : {0, 10}) package.entry(i).contentDigest[0] ^= 1;
    EXPECT_EQ(extract(1u << 9 | 1u << 10 | 1u << 22), -101);
    for (int i = 0; i < PACKAGE_ENTRY_COUNT; ++i)
        EXPECT_EQ(fileContent(PACKAGE_FILE_NAMES[i]),
                  i == 9 || i == 22 ? package.contents[i] : "<missing>") << i;
}

TEST_F(Extraction, EntryOneByteOutsideFailsAndTheNextUsesTheSameKeyState) {
    package = buildPackage({}, 7);  // entry 7 left out of the chain
    package.entry(7).dataOffset = uint32_t(package.bytes.size()) - package.entry(7).dataSize + 1;
    EXPECT_EQ(extract(), -101);
    expectWrittenExcept({7});
    SetUp();
    package = buildPackage({}, 3);
    package.entry(3).dataOffset = 0xFFFFFFF0u;  // + 0x20 wraps to 0x10, inside the package
    package.entry(3).dataSize = 0x20;
    EXPECT_EQ(extract(), -101);
    expectWrittenExcept({3});
}

TEST_F(Extraction, WrongDigestsFailOnlyTheirEntriesAndTheResultCountsThem) {
    for (int i : {0, 11, 15, 22}) package.entry(i).contentDigest[i % 16] ^= 0x80;  // 0, 11, 15, 6
    fake::state().failing.insert("allocateMemory:285");  // entry 5's block: no room to decode
    EXPECT_EQ(extract(), -105);
    expectWrittenExcept({0, 5, 11, 15, 22});
}

TEST_F(Extraction, EmptyEntriesAreWrittenButAnEmptyLastOneMakesTheResultMinusOne) {
    std::vector<size_t> sizes(PACKAGE_ENTRY_COUNT, 90);
    sizes[10] = sizes[22] = 0;
    package = buildPackage(sizes);
    EXPECT_EQ(extract(), -1);
    expectWrittenExcept({});
}

TEST_F(Extraction, NameWithABackslashCreatesItsSubfolder) {
    package.setName(5, "drivers\\x64\\qlorvalovaio64_win10.inf");
    EXPECT_EQ(extract(), 0);
    EXPECT_EQ(fileContent("drivers\\x64\\qlorvalovaio64_win10.inf"), package.contents[5]);
    // Flat names need no folder: the only folders created are these two and SetUp's two.
    EXPECT_EQ(fake::eventsStartingWith("mkdir ").size(), 4u);
}

TEST_F(Extraction, UnsafeNamesAreRefusedAndTheChainGoesOn) {
    // ".. " is ".." to Windows, which drops trailing dots and spaces.
    const std::string unsafe[] = {
        "", "C:\\Windows\\evil.dll", "c:evil.dll", "\\evil.dll", "/evil.dll", "..", "folder\\",
        "\\\\server\\share\\evil.dll", "..\\evil.dll", "sub\\..\\..\\evil.dll", "readme.txt:stream",
        "sub/../../evil.dll", ".. \\evil.dll", std::string(128, 'a'),
    };
    for (const std::string& name : unsafe) {
        SCOPED_TRACE(name);
        SetUp();
        // Refused by the check itself: in the fake, a write through ".." fails on its own.
        EXPECT_FALSE(isSafeEntryName(name.c_str(), 128));
        package.setName(8, name);
        EXPECT_EQ(extract(), -101);
        expectWrittenExcept({8});
    }
}

TEST_F(Extraction, TargetPathThatDoesNotFitIsRefused) {
    std::string folder = "C:\\" + std::string(970, 'f');
    strcpy(context->installFolder, folder.c_str());
    platform::createFolder(folder.c_str());
    package.setName(9, std::string(60, 'n'));  // 973 + 1 + 60 > 1023, the others fit
    EXPECT_EQ(extract(), -101);
    EXPECT_EQ(fake::eventsStartingWith("write ").size(), 22u);
}
