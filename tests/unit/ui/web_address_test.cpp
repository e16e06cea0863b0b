// The web page opener's keystream and the two stored addresses. The stored bytes were made
// once, outside the program, so any change to the keystream's arithmetic shows here.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/fake/fake_platform.h"
#include "ui/web_address.h"

namespace {

std::string unscrambled(const uint8_t* stored, uint32_t size) {
    EXPECT_EQ(memmem(stored, size, "quillon", 7), nullptr) << "stored in the clear";
    std::string text(reinterpret_cast<const char*>(stored), size);
    scrambleAddress(reinterpret_cast<uint8_t*>(text.data()), size, WEB_ADDRESS_SEED);
    EXPECT_EQ(text.back(), 0) << "terminator must be part of the stored bytes";
    return text.c_str();
}

}  // namespace

TEST(WebAddress, StoredBytesUnscrambleToTheAddresses) {
    EXPECT_EQ(unscrambled(HOME_ADDRESS, HOME_ADDRESS_SIZE), "https://quillon.example/");
}

// The desktop shell opens the page, as the signed-in person, and nothing else is asked: the
// person's programs can end their shell, and this program would open it with its own rights.
TEST(WebAddress, OpensOnlyThroughTheDesktopShell) {
    fake::reset();
    openWebAddress(AFTER_INSTALL_ADDRESS, AFTER_INSTALL_ADDRESS_SIZE);
    EXPECT_EQ(fake::state().events, std::vector<std::string>{
        "desktop shell opens https://quillon.example/orvalo/installed"});
}
