#include "base/os_codepage.h"

#include <gtest/gtest.h>

namespace mirvane::os {
namespace {

TEST(OsCodePage, LanguageDriverCodePagesDecodeToKnownCharacters) {
    struct Case {
        unsigned codePage;
        std::string bytes;
        std::string utf8;
    } cases[] = {
        {437, "\xA4\x82", "ñé"},      {850, "\xA5\xB5", "ÑÁ"}, {1251, "\xC0\xFF", "Ая"},
        {932, "\x82\xA0\x41", "あA"}, {10000, "\x8E", "é"},
    };
    for (const Case& c : cases) {
        const auto decoded = decodeCodePage(c.codePage, c.bytes);
        ASSERT_TRUE(decoded) << c.codePage;
        EXPECT_EQ(*decoded, c.utf8) << c.codePage;
    }
}

TEST(OsCodePage, AnUnknownCodePageIsNotGuessed) {
    EXPECT_FALSE(decodeCodePage(99999, "abc"));
}

}  // namespace
}  // namespace mirvane::os
