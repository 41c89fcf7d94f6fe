#include "shell/hour_mask.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace mirvane::shell {
namespace {

// Keys as a script: digits and ':' typed, 'b' Backspace, 'd' Delete,
// '<' '>' arrows, 'h' Home, 'e' End, 'a' select all, 'x' a rejected letter.
// Returns how many keys the field refused (each one a beep).
int press(HourMask& field, std::string_view keys) {
    int refused = 0;
    for (const char key : keys) {
        switch (key) {
            case 'b':
                field.backspace();
                break;
            case 'd':
                field.deleteForward();
                break;
            case '<':
                field.moveLeft();
                break;
            case '>':
                field.moveRight();
                break;
            case 'h':
                field.moveHome();
                break;
            case 'e':
                field.moveEnd();
                break;
            case 'a':
                field.select(0, HourMask::kLength);
                break;
            case 'x':
                refused += field.type('x') ? 0 : 1;
                break;
            default:
                refused += field.type(key) ? 0 : 1;
                break;
        }
    }
    return refused;
}

struct EditCase {
    const char* name;
    const char* initial;
    const char* keys;
    const char* text;  // as read: a space for a blank
    std::size_t caret;
    int refused;
};

class Editing : public ::testing::TestWithParam<EditCase> {};

TEST_P(Editing, GivesTheTextAndCaret) {
    const EditCase& c = GetParam();
    HourMask field(c.initial);
    field.focus();
    EXPECT_EQ(press(field, c.keys), c.refused);
    EXPECT_EQ(field.text(), c.text);
    EXPECT_EQ(field.caret(), c.caret);
}

INSTANTIATE_TEST_SUITE_P(
    HourMask, Editing,
    ::testing::Values(
        EditCase{"TypingOverwritesAndStepsOverTheColon", "08:00", "0930", "09:30", 5, 0},
        EditCase{"ColonTypedOnTheFixedPositionIsTaken", "08:00", "10:45", "10:45", 5, 0},
        EditCase{"LettersAreRefused", "08:00", "x1x", "18:00", 1, 2},
        EditCase{"NothingIsTypedPastTheEnd", "08:00", "e7", "08:00", 5, 1},
        EditCase{"ColonAwayFromItsPositionIsRefused", "08:00", ":", "08:00", 0, 1},
        EditCase{"BackspaceBlanksThePositionBefore", "08:00", "eb", "08:0 ", 4, 0},
        EditCase{"BackspaceStepsOverTheColon", "08:00", "e<<b", "0 :00", 1, 0},
        EditCase{"BackspaceAtTheStartDoesNothing", "08:00", "b", "08:00", 0, 0},
        EditCase{"DeleteBlanksThePositionAtTheCaret", "08:00", ">>d", "08: 0", 3, 0},
        EditCase{"ArrowsSkipTheColon", "08:00", ">><", "08:00", 1, 0},
        EditCase{"ArrowsStopAtBothEnds", "08:00", "<<<h<e>>", "08:00", 5, 0},
        EditCase{"SelectAllAndDeleteBlanksEverything", "08:00", "ad", "  :  ", 0, 0},
        EditCase{"TypingOverASelectionBlanksItFirst", "08:00", "a7", "7 :  ", 1, 0},
        EditCase{"FirstHourPositionMayStayBlank", "08:00", "d>830", " 8:30", 5, 0},
        EditCase{"BlankTypedOnlyOnTheOptionalPosition", "08:00", " 7 ", " 7:00", 3, 1},
        EditCase{"InitialTextThatDoesNotFitIsBlank", "8:3", "", "8 :  ", 0, 0},
        EditCase{"InitialTextIsCutToFiveCharacters", "12:345", "", "12:34", 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HourMask, ShowsBlanksAsUnderscoresWhileEditing) {
    HourMask field(" 8:3");
    EXPECT_EQ(field.editText(), "_8:3_");
    EXPECT_EQ(field.text(), " 8:3 ");
}

TEST(HourMask, TextSetFromOutsideIsLaidOverTheMaskAndCountsAsAnEdit) {
    HourMask field("08:00");
    field.focus();
    field.setText("08:00");
    EXPECT_FALSE(field.changed());
    field.setText("9h");
    EXPECT_EQ(field.text(), "9 :  ");
    EXPECT_EQ(field.checkOnLeave(), 1u);
    field.abandonChanges();
    EXPECT_EQ(field.text(), "08:00");
}

TEST(HourMask, PasteIsAllOrNothing) {
    HourMask field("08:00");
    EXPECT_TRUE(field.paste("11:15"));
    EXPECT_EQ(field.text(), "11:15");
    field.moveHome();
    EXPECT_FALSE(field.paste("9h30"));
    EXPECT_EQ(field.text(), "11:15");
    EXPECT_FALSE(field.paste("123456"));  // runs past the end
    EXPECT_EQ(field.text(), "11:15");
}

struct LeaveCase {
    const char* name;
    const char* keys;
    std::optional<std::size_t> refusedAt;
};

class Leaving : public ::testing::TestWithParam<LeaveCase> {};

// Leaving the field or pressing Enter in it: refused at the first required
// blank, but only after a change, so an untouched field is never held.
TEST_P(Leaving, IsRefusedAtTheFirstRequiredBlank) {
    const LeaveCase& c = GetParam();
    HourMask field("08:00");
    field.focus();
    press(field, c.keys);
    EXPECT_EQ(field.checkOnLeave(), c.refusedAt);
    if (c.refusedAt) {
        EXPECT_EQ(field.caret(), *c.refusedAt);
    }
}

INSTANTIATE_TEST_SUITE_P(
    HourMask, Leaving,
    ::testing::Values(LeaveCase{"Unchanged", "", std::nullopt},
                      LeaveCase{"ChangedAndComplete", "0915", std::nullopt},
                      LeaveCase{"OptionalFirstPositionBlank", "d", std::nullopt},
                      LeaveCase{"SecondHourDigitBlank", ">d", 1},
                      LeaveCase{"EverythingBlankHoldsAtTheFirstRequired", "ad", 1},
                      LeaveCase{"MinutesBlank", "e<d", 4}, LeaveCase{"BothMinutesBlank", "ebb", 3},
                      LeaveCase{"RetypingTheSameDigitIsNoChange", "08", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HourMask, EscapeRestoresTheTextFromWhenTheFieldGotTheFocus) {
    HourMask field("08:00");
    field.focus();
    press(field, "12");
    field.focus();  // left and entered again: 12:00 is now the text to return to
    press(field, "ad");
    ASSERT_TRUE(field.checkOnLeave());
    field.abandonChanges();
    EXPECT_EQ(field.text(), "12:00");
    EXPECT_FALSE(field.changed());
    EXPECT_EQ(field.checkOnLeave(), std::nullopt);
}

}  // namespace
}  // namespace mirvane::shell
