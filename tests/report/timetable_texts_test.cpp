// The page's data as JSON: Windows-1252 texts as strings a script reads back
// whole, and lists of integers, whatever they hold.

#include "report/timetable_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace mirvane::report {
namespace {

TEST(TimetableJson, AWindows1252TextIsOneJsonStringInUtf8) {
    const struct {
        std::string cp1252, json;
    } cases[] = {
        {"", R"("")"},
        {"1ESO-A", R"("1ESO-A")"},
        {"Espa\xF1ol \x80", "\"Espa\xC3\xB1ol \xE2\x82\xAC\""},
        {R"(a"b\c)", R"("a\"b\\c")"},
        {"</script>", R"("\u003c/script>")"},
        {"a\tb\n", R"("a\u0009b\u000a")"},
        {"\xC1rea<\xC1rea", "\"\xC3\x81rea\\u003c\xC3\x81rea\""},
    };
    for (const auto& c : cases) {
        std::string out = "x";
        json::appendString(out, c.cp1252);
        EXPECT_EQ(out, "x" + c.json) << c.cp1252;
    }
}

TEST(TimetableJson, IntegersAreOneListHowManyTheyAre) {
    for (const int count : {0, 1, 2, 1000}) {
        std::string out = "[", expected = "[";
        {
            json::Integers list(out);
            for (int i = 0; i < count; ++i) {
                const std::int64_t value = i % 3 == 1 ? -i : std::int64_t{i} * 1'000'000'007;
                list.add(value);
                expected += (i ? "," : "") + std::to_string(value);
            }
        }
        EXPECT_EQ(out, expected) << count;
    }
}

}  // namespace
}  // namespace mirvane::report
