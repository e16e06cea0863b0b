// Writing only changed files, and the built-in font's layout.
#include <gtest/gtest.h>
#include <cstdio>
#include <string>
#include "font.h"
#include "output.h"

TEST(WriteIfChanged, WritesNewAndChangedContentOnly) {
    std::string path = ::testing::TempDir() + "qlart_output_test.bin";
    std::remove(path.c_str());
    EXPECT_EQ(writeIfChanged(path.c_str(), {1, 2, 3}), 1);
    EXPECT_EQ(writeIfChanged(path.c_str(), {1, 2, 3}), 0);
    EXPECT_EQ(writeIfChanged(path.c_str(), {1, 2}), 1);  // a shorter file is a change too
    EXPECT_EQ(writeIfChanged(path.c_str(), {1, 2}), 0);
    std::remove(path.c_str());
    EXPECT_EQ(writeIfChanged("/nonexistent-folder/qlart/file.bin", {1}), -1);
}

TEST(BitmapFont, HasTheArtworkTextsAndSpacesTrimmedGlyphsByOneColumn) {
    for (const char* p = "QuillonOrvaloAudioRouter0123456789.,-:/!?"; *p; ++p)
        EXPECT_NE(glyphRows(*p), nullptr) << "missing glyph '" << *p << "'";
    EXPECT_EQ(layoutText("O").columns, 5);
    EXPECT_EQ(layoutText("OO").columns, 11);
    EXPECT_EQ(layoutText("l").columns, 3);     // trimmed to its used columns
    EXPECT_EQ(layoutText("O O").columns, 14);  // blank of three columns, then a gap
}
