// The week of the timetable page: its rows and columns from DIASHORAST, the
// cell of each lesson, and the lessons that coincide.

#include "report/timetable_grid.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace mirvane::report {
namespace {

using ::testing::ElementsAre;

class TimetableGridTest : public ::testing::Test {
  protected:
    TimetableGridTest() {
        // Stored out of order; slot 10 after 9, not after 1; Tuesday's slot 2
        // shorter; a lower-case weekday letter is a day of its own, last.
        for (const SlotRow& row : std::vector<SlotRow>{
                 {"21", "2", "1", "08:00", "08:55"},
                 {"110", "1", "10", "15:00", "15:55"},
                 {"11", "1", " 1", "08:00", "08:55"},
                 {"12", "1", "2", "08:55", "09:50"},
                 {"22", "2", "2", "08:55", "09:25"},
                 {"32", "3", "2", "08:55", "09:50"},
                 {"19", "1", "9", "14:05", "15:00"},
                 {"12", "1", "3", "09:50", "10:45"},  // a second DIHO 12, which no lookup finds
                 {"l2", "l", "2", "08:55", "09:50"},
             })
            timetable.slot(row);
        timetable.beginTeacher({"E1", "ANA", "Ana"}, 1);
        add("12", "G1", "A1");  // 0
        add("12", "G2", "A1");  // 1: Ana twice, in one room: one set
        add("22", "G1", "A2");  // 2
        add("99", "G1", "A2");  // 3: no slot
        timetable.beginTeacher({"E2", "LUIS", "Luis"}, 2);
        add("22", "G1", "A3");  // 4: G1 with lesson 2
        add("110", " ", "A2");  // 5
        // Blank groups and rooms share nothing.
        timetable.beginTeacher({"E3", "EVA", "Eva"}, 3);
        add("110", " ", "  ");  // 6
        timetable.beginTeacher({"E4", "PEPE", "Pepe"}, 4);
        add("110", "", "");  // 7
    }

    void add(const std::string& slotKey, const std::string& group, const std::string& room) {
        ActivityCheck check;
        check.slotKey = slotKey;
        check.codgrupo = group;
        check.aula = room;
        check.flags.slotFound = slotKey != "99";
        timetable.lesson(++number, check, {});
    }

    Timetable timetable;
    std::size_t number = 0;
};

TEST_F(TimetableGridTest, DaysAreColumnsAndSlotNumbersRowsWithEachDaysTimes) {
    const Week week = layOut(timetable);
    EXPECT_EQ(week.days, (std::vector<std::string>{"1", "2", "3", "l"}));
    EXPECT_EQ(week.slots, (std::vector<std::string>{"1", "2", "3", "9", "10"}));
    ASSERT_EQ(week.times.size(), 20u);
    EXPECT_EQ(week.times[week.cellOf(1, 1)], (SlotTimes{"08:55", "09:25"}));
    EXPECT_EQ(week.times[week.cellOf(0, 0)], (SlotTimes{"08:00", "08:55"}));
    EXPECT_FALSE(week.times[week.cellOf(0, 2)]);  // Wednesday has no slot 1
    // Slot 2 is 08:55–09:50 on three of its four days: Tuesday alone shows its own.
    EXPECT_EQ(week.rowTimes[1], (SlotTimes{"08:55", "09:50"}));
    EXPECT_EQ(week.rowTimes[4], (SlotTimes{"15:00", "15:55"}));

    const std::vector<std::optional<std::size_t>> cells{
        week.cellOf(1, 0), week.cellOf(1, 0), week.cellOf(1, 1), std::nullopt,
        week.cellOf(1, 1), week.cellOf(4, 0), week.cellOf(4, 0), week.cellOf(4, 0)};
    EXPECT_EQ(week.cells, cells);
}

TEST_F(TimetableGridTest, LessonsOfOneTeacherGroupOrRoomInOneCellCoincide) {
    // Ana's two lessons in A1 once; G1 on Tuesday's slot 2 across teachers;
    // the room A2 of lesson 5 and the blank rooms of 6 and 7 share nothing.
    const LessonSets sets = layOut(timetable).coincidences;
    ASSERT_EQ(sets.size(), 2u);
    EXPECT_THAT(sets[0], ElementsAre(0, 1));
    EXPECT_THAT(sets[1], ElementsAre(2, 4));
}

TEST(TimetableGrid, AWeekWithoutSlotsHasNoCellsAndPlacesNoLesson) {
    Timetable timetable;
    timetable.beginTeacher({"E1", "ANA", "Ana"}, 1);
    ActivityCheck check;
    check.slotKey = "11";
    timetable.lesson(1, check, {});
    const Week week = layOut(timetable);
    EXPECT_TRUE(week.days.empty());
    EXPECT_TRUE(week.times.empty());
    EXPECT_EQ(week.cells, (std::vector<std::optional<std::size_t>>{std::nullopt}));
    EXPECT_EQ(dayName("3"), "Miércoles");
    EXPECT_EQ(dayName("l"), "Día l");
}

}  // namespace
}  // namespace mirvane::report
