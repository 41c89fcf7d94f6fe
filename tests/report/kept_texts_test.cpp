// Texts kept once: equal texts share a place and different ones never do,
// whatever their length, bytes or how many are kept.

#include "report/kept_lessons.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mirvane::report {
namespace {

TEST(KeptTexts, EachTextHasOnePlaceAndNoOtherTextSharesIt) {
    // Every length from empty to past the short texts, and texts that differ
    // only in one byte, in a trailing zero or in length.
    std::vector<std::string> texts;
    for (std::size_t length = 0; length <= 24; ++length) {
        const std::string base(length, 'a');
        texts.push_back(base);
        for (std::size_t at = 0; at < length; ++at) {
            std::string changed = base;
            changed[at] = '\xF1';
            texts.push_back(changed);
        }
        texts.push_back(base + '\0');
    }
    for (int i = 0; i < 5000; ++i) texts.push_back("MAT" + std::to_string(i));  // grows the table

    KeptTexts kept;
    std::vector<std::uint32_t> places;
    for (const std::string& text : texts) places.push_back(kept.keep(text));
    ASSERT_EQ(kept.size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(places[i], i);
        EXPECT_EQ(kept.keep(texts[i]), places[i]) << i;
        EXPECT_EQ(kept[places[i]], texts[i]);
        EXPECT_TRUE(kept.holds(places[i], texts[i]));
        if (i > 0) {
            EXPECT_FALSE(kept.holds(places[i - 1], texts[i])) << i;
        }
    }
}

}  // namespace
}  // namespace mirvane::report
