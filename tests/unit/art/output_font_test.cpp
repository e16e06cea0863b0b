// Writing only changed files, and the built-in font's layout.
#include <gtest/gtest.h>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include "font.h"
#include "output.h"

namespace {

Bytes readAll(const std::string& path) {
    Bytes content;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return content;
    int c;
    while ((c = std::fgetc(file)) != EOF) content.push_back(uint8_t(c));
    std::fclose(file);
    return content;
}

}  // namespace

TEST(WriteIfChanged, WritesNewAndChangedContentOnly) {
    std::string path = ::testing::TempDir() + "qlart_output_test.bin";
    std::remove(path.c_str());
    EXPECT_EQ(writeIfChanged(path.c_str(), {1, 2, 3}), 1);
    EXPECT_EQ(writeIfChanged(path.c_str(), {1, 2, 3}), 0);
    EXPECT_EQ(writeIfChanged(path.c_str(), {1, 2}), 1);  // a shorter file is a change too
    EXPECT_EQ(readAll(path), (Bytes{1, 2}));
    EXPECT_EQ(writeIfChanged(path.c_str(), {1, 2, 4}), 1);
    EXPECT_EQ(readAll(path), (Bytes{1, 2, 4}));
    std::remove(path.c_str());
}

TEST(WriteIfChanged, ReportsAnUnwritablePath) {
    EXPECT_EQ(writeIfChanged("/nonexistent-folder/qlart/file.bin", {1}), -1);
}

TEST(BitmapFont, HasEveryCharacterOfTheArtworkTexts) {
    for (const char* text : {"Quillon Orvalo", "Audio Router", "0123456789.,-:/!?"})
        for (const char* p = text; *p; ++p)
            if (*p != ' ') {
                EXPECT_NE(glyphRows(*p), nullptr) << "missing glyph '" << *p << "'";
            }
    for (char c = 'A'; c <= 'Z'; ++c) EXPECT_NE(glyphRows(c), nullptr) << c;
    for (char c = 'a'; c <= 'z'; ++c) EXPECT_NE(glyphRows(c), nullptr) << c;
}

TEST(BitmapFont, LayoutTrimsGlyphsAndSpacesThemByOneColumn) {
    EXPECT_EQ(layoutText("").columns, 0);
    EXPECT_EQ(layoutText("O").columns, 5);
    EXPECT_EQ(layoutText("OO").columns, 11);
    EXPECT_EQ(layoutText("l").columns, 3);     // trimmed to its used columns
    EXPECT_EQ(layoutText("O O").columns, 14);  // blank of three columns, then a gap
    TextCells cells = layoutText("l");
    EXPECT_TRUE(cells.at(0, 0));
    EXPECT_TRUE(cells.at(1, 3));
    EXPECT_FALSE(cells.at(2, 3));
    EXPECT_FALSE(cells.at(-1, 0));
    EXPECT_FALSE(cells.at(0, GLYPH_ROWS));
}
