#include "export/start_hour_prompt.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "export/exportar_tramos.h"

namespace mirvane::exporting {
namespace {

TEST(IsValidStartHour, WhatThePromptCanReadAndTheChecksTake) {
    const struct {
        const char* text;
        bool valid;
    } cases[] = {
        {"08:00", true},  {"23:59", true},  {"00:00", true},   {" 8:30", true},
        {"24:00", false}, {"07:75", false}, {"25:99", false},  {"8:30", false},
        {"08:3", false},  {"08-30", false}, {"08:30 ", false}, {"-1:30", false},
        {"+8:30", false}, {"08: 5", false}, {"", false},       {"ab:cd", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isValidStartHour(c.text), c.valid) << '"' << c.text << '"';
}

TEST(FixedStartHour, AnswersItsTimeOncePerWindow) {
    FixedStartHour prompt(" 9:05");
    EXPECT_EQ(askStartHour(prompt), " 9:05");
    EXPECT_EQ(askStartHour(prompt), " 9:05");  // a new window for every call
    FixedStartHour initial;
    EXPECT_EQ(askStartHour(initial), "08:00");
}

TEST(FixedStartHour, RejectedTimeIsAnErrorInsteadOfAnEndlessPrompt) {
    FixedStartHour prompt("24:00");
    try {
        askStartHour(prompt);
        FAIL();
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(),
                     "La hora de inicio \"24:00\" no es válida: indique una hora de 00 a 23 y "
                     "minutos de 00 a 59 (HH:MM)");
    }
}

}  // namespace
}  // namespace mirvane::exporting
