#include "export/tramos.h"

#include <gtest/gtest.h>

#include "base/error.h"

namespace mirvane::exporting {
namespace {

TEST(FormatoHora, PadsAndDoesNotWrapAtMidnight) {
    const struct {
        std::int64_t minutes;
        const char* text;
    } cases[] = {
        {0, "00:00"},    {475, "07:55"},  {480, "08:00"},  {1439, "23:59"},
        {1440, "24:00"}, {1450, "24:10"}, {5999, "99:59"}, {6000, "00:00"},  // only 2 digits stay
        {6005, "00:05"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatoHora(c.minutes), c.text) << c.minutes;
}

TEST(SlotCode, TextDigitAndMonday) {
    const struct {
        const char* code;
        const char* slot;
        const char* digit;
        bool monday;
    } cases[] = {
        {"L1", "1", "1", true},  {"L12A", "12", "1", true}, {"M3", "3", "2", false},
        {"X4", "4", "3", false}, {"J10", "10", "4", false}, {"V2", "2", "5", false},
        {"S1", "1", "6", false}, {"D1", "1", "7", false},   {"l2", "2", "l", false},
        {"Q5", "5", "Q", false}, {"L", "", "1", true},      {"L03", "03", "1", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(slotText(c.code), c.slot) << c.code;
        EXPECT_EQ(weekdayDigit(c.code), c.digit) << c.code;
        EXPECT_EQ(isMonday(c.code), c.monday) << c.code;
    }
}

TEST(CopyText, BehavesLikeACopyThatStopsAtTheEnd) {
    EXPECT_EQ(copyText("08:30", 1, 2), "08");
    EXPECT_EQ(copyText("08:30", 4, 2), "30");
    EXPECT_EQ(copyText("8", 1, 2), "8");
    EXPECT_EQ(copyText("", 1, 2), "");
    EXPECT_EQ(copyText("ab", 3, 2), "");
    EXPECT_EQ(copyText("ab", 0, 2), "");
}

TEST(MinutesOf, ReadsBothPartsThroughTheConversion) {
    EXPECT_EQ(minutesOf("08:30"), 510);
    EXPECT_EQ(minutesOf(" 8:30"), 510);
    EXPECT_EQ(minutesOf("24:10"), 1450);
    EXPECT_THROW(minutesOf(""), Error);
    EXPECT_THROW(minutesOf("08:  "), Error);
}

SlotTimes monday(std::initializer_list<std::pair<int, const char*>> slots) {
    SlotTimes times;
    for (const auto& [slot, minutes] : slots) times.addMonday(slot, minutes);
    return times;
}

TEST(SlotTimesChain, WorkedExample) {
    SlotTimes times = monday({{1, "55"}, {2, "55"}, {3, "30"}, {4, "55"}});
    times.chain("08:00");
    EXPECT_EQ(times.InicioTramo[1], "08:00");
    EXPECT_EQ(times.InicioTramo[2], "08:55");
    EXPECT_EQ(times.InicioTramo[3], "09:50");
    EXPECT_EQ(times.InicioTramo[4], "10:20");
    EXPECT_EQ(times.InicioTramo[5], "");
    EXPECT_EQ(times.MinutosTramo[3], "30");  // never changed by the chain
}

TEST(SlotTimesChain, PassesMidnightWithoutWrapping) {
    SlotTimes times = monday({{1, "60"}, {2, "60"}, {3, "60"}, {4, "60"}});
    times.chain("22:00");
    EXPECT_EQ(times.InicioTramo[3], "24:00");
    EXPECT_EQ(times.InicioTramo[4], "25:00");
}

TEST(SlotTimesChain, BlankFirstHourPositionStaysOnlyInSlotOne) {
    SlotTimes times = monday({{1, "55"}, {2, "55"}});
    times.chain(" 8:30");
    EXPECT_EQ(times.InicioTramo[1], " 8:30");
    EXPECT_EQ(times.InicioTramo[2], "09:25");
}

TEST(SlotTimesChain, LaterMondayRecordOfASlotReplacesTheEarlier) {
    SlotTimes times = monday({{1, "60"}, {2, "50"}, {2, "55"}, {3, "10"}});
    times.chain("08:00");
    EXPECT_EQ(times.InicioTramo[3], "09:55");
}

TEST(SlotTimesChain, MissingSlotFailsOnItsEmptyText) {
    SlotTimes times = monday({{1, "55"}, {2, "55"}, {3, "55"}, {4, "55"}, {5, "55"}, {7, "55"}});
    try {
        times.chain("08:00");
        FAIL() << "slot 7 without slot 6 was accepted";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()).rfind("'' is not a valid integer value. ", 0), 0u);
        EXPECT_NE(std::string(error.what()).find("pero no el tramo 6"), std::string::npos);
    }
}

TEST(SlotTimesChain, MondayWithoutSlotOneFailsForSlotTwo) {
    SlotTimes times = monday({{2, "55"}});
    EXPECT_THROW(times.chain("08:00"), Error);
}

TEST(SlotTimesChain, HugeMinutesDoNotOverflow) {
    SlotTimes times = monday({{1, "2147483647"}, {2, "1"}});
    times.chain("23:59");
    EXPECT_EQ(times.InicioTramo[2], FormatoHora(23 * 60 + 59 + 2147483647LL));
}

}  // namespace
}  // namespace mirvane::exporting
