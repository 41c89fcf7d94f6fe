#include "export/exportar_tramos.h"

#include <gtest/gtest.h>

#include "base/error.h"
#include "export_fixture.h"
#include "formats/work_tables.h"

namespace mirvane::exporting {
namespace {

using export_test::Labelled;
using export_test::readTable;
using export_test::TableRow;

// A prompt that answers the given texts in turn, as a user typing them would.
class ScriptedPrompt final : public StartHourPrompt {
  public:
    explicit ScriptedPrompt(std::vector<std::string> answers) : answers_(std::move(answers)) {}

    std::unique_ptr<StartHourDialog> createDialog() override {
        ++windows;
        return std::make_unique<Dialog>(*this);
    }

    int windows = 0;
    int shown = 0;

  private:
    class Dialog final : public StartHourDialog {
      public:
        explicit Dialog(ScriptedPrompt& prompt) : prompt_(prompt) {}
        std::string showAndRead() override {
            if (prompt_.shown >= static_cast<int>(prompt_.answers_.size()))
                throw std::logic_error("the prompt was shown more often than scripted");
            return prompt_.answers_[static_cast<std::size_t>(prompt_.shown++)];
        }

      private:
        ScriptedPrompt& prompt_;
    };
    std::vector<std::string> answers_;
};

Labelled slot(std::string code, std::string minutes, std::string delphos = "D") {
    return {{"CODIGO_DELPHOS", std::move(delphos)},
            {"NOMBRE", std::move(code)},
            {"MINUTOS", std::move(minutes)},
            {"INICIO", "07:00"},
            {"FIN", "07:05"}};
}

class ExportarTramosTest : public ::testing::Test {
  protected:
    std::vector<TableRow> exportSlots(const std::vector<Labelled>& records,
                                      std::vector<std::string> answers = {"08:00"}) {
        ScriptedPrompt prompt(std::move(answers));
        auto document = export_test::parse(
            export_test::exchange({export_test::labelledSection("TRAMOS", records)}));
        rows = ExportarTramos(*document, dir.path(), prompt);
        shown = prompt.shown;
        return readTable(dir.path(), formats::kDiashorast);
    }

    std::string failure(const std::vector<Labelled>& records) {
        try {
            exportSlots(records);
        } catch (const Error& error) {
            return error.what();
        }
        return "(no error)";
    }

    testing::TempDir dir;
    std::size_t rows = 0;
    int shown = 0;
};

TEST_F(ExportarTramosTest, WorkedExample) {
    const auto table = exportSlots({slot("L1", "55", "901"), slot("L2", "55"), slot("L3", "30"),
                                    slot("L4", "55"), slot("M3", "25", "923")});
    ASSERT_EQ(table.size(), 5u);
    EXPECT_EQ(rows, 5u);
    const TableRow expected{
        {"DIHO", "23"},         {"CODDIHO", "923"},     {"DIA", "2"},
        {"TEXTODIA", ""},       {"HORA", "3"},          {"TEXTOHOR", "3-09:50-10:15"},
        {"HORADESDE", "09:50"}, {"HORAHASTA", "10:15"}, {"MINUTOS", "25"},
        {"MARCO", "0"},         {"MARCOXML", ""}};
    EXPECT_EQ(table[4], expected);
    EXPECT_EQ(table[0].at("TEXTOHOR"), "1-08:00-08:55");
    EXPECT_EQ(table[0].at("CODDIHO"), "901");
    EXPECT_EQ(table[3].at("HORADESDE"), "10:20");  // INICIO and FIN of the document are ignored
    EXPECT_EQ(table[3].at("HORAHASTA"), "11:15");
}

TEST_F(ExportarTramosTest, PromptIsAskedAgainUntilBothChecksPass) {
    const struct {
        std::vector<std::string> answers;
        int shown;
        const char* start;
    } cases[] = {
        {{"23:59"}, 1, "23:59"},
        {{"24:00", "07:30"}, 2, "07:30"},
        {{"07:75", "07:59"}, 2, "07:59"},
        {{"25:99", "24:00", "00:00"}, 3, "00:00"},  // only the hour is checked at first
        {{" 8:30"}, 1, " 8:30"},
        {{"09:15 and more"}, 1, "09:15"},  // the first five characters
    };
    for (const auto& c : cases) {
        const auto table = exportSlots({slot("L1", "55")}, c.answers);
        EXPECT_EQ(shown, c.shown) << c.answers.front();
        ASSERT_EQ(table.size(), 1u);
        EXPECT_EQ(table[0].at("HORADESDE"), c.start) << c.answers.front();
    }
}

TEST_F(ExportarTramosTest, PromptTextThatDoesNotConvertEndsTheRun) {
    ScriptedPrompt prompt({"08:  "});
    try {
        askStartHour(prompt);
        FAIL();
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "'  ' is not a valid integer value");
    }
    EXPECT_EQ(prompt.shown, 1);
}

TEST_F(ExportarTramosTest, BlankFirstHourPositionIsKeptInSlotOneOnly) {
    const auto table = exportSlots({slot("L1", "55"), slot("L2", "55")}, {" 8:30"});
    EXPECT_EQ(table[0].at("TEXTOHOR"), "1- 8:30-09:25");
    EXPECT_EQ(table[1].at("HORADESDE"), "09:25");
}

TEST_F(ExportarTramosTest, EmptyOrMissingSectionStillAsksAndCreatesTheTable) {
    ScriptedPrompt prompt({"24:00", "08:00"});
    auto document = export_test::parse(export_test::exchange({}));
    EXPECT_EQ(ExportarTramos(*document, dir.path(), prompt), 0u);
    EXPECT_EQ(prompt.shown, 2);
    EXPECT_EQ(prompt.windows, 1);  // one window serves every showing
    EXPECT_TRUE(readTable(dir.path(), formats::kDiashorast).empty());
}

TEST_F(ExportarTramosTest, WeekdayLettersAndSlotTexts) {
    const auto table = exportSlots({slot("L1", "60"), slot("L2", "50"), slot("L2", "55"),
                                    slot("L3", "60"), slot("X3", "20"), slot("l2", "30")});
    ASSERT_EQ(table.size(), 6u);
    // Two Monday records of slot 2: the later one counts in the chain, each
    // row keeps its own minutes and end.
    EXPECT_EQ(table[1].at("TEXTOHOR"), "2-09:00-09:50");
    EXPECT_EQ(table[2].at("TEXTOHOR"), "2-09:00-09:55");
    EXPECT_EQ(table[3].at("HORADESDE"), "09:55");
    EXPECT_EQ(table[4].at("DIHO"), "33");
    EXPECT_EQ(table[4].at("DIA"), "3");
    EXPECT_EQ(table[5].at("DIHO"), "l2");  // a lower-case l is not Monday
    EXPECT_EQ(table[5].at("DIA"), "l");
    EXPECT_EQ(table[5].at("HORADESDE"), "09:00");
}

TEST_F(ExportarTramosTest, TwoCharacterAndLongSlotCodes) {
    std::vector<Labelled> week;
    for (int s = 1; s <= 12; ++s) week.push_back(slot("L" + std::to_string(s), "10"));
    week.push_back(slot("L12A", "10"));
    week.push_back(slot("L07", "10"));
    const auto table = exportSlots(week);
    EXPECT_EQ(table[6].at("HORA"), "7");
    EXPECT_EQ(table[6].at("DIHO"), "17");
    EXPECT_EQ(table[12].at("HORA"), "12");
    EXPECT_EQ(table[12].at("HORADESDE"), "09:50");
    EXPECT_EQ(table[13].at("DIHO"), "107");  // a leading zero stays in the key
    EXPECT_EQ(table[13].at("HORADESDE"), "09:00");
}

TEST_F(ExportarTramosTest, LabelsDecideAndTheLaterOneWins) {
    const auto table = exportSlots({
        slot("L1", "55"),
        {{"CODIGO_DELPHOS", "5"},
         {"DIA", "M9"},
         {"MINUTOS", "5"},
         {"NOMBRE", "L1"},
         {"OTRO", "x"},
         {"MINUTOS", "20"}},
        {{"NOMBRE", "M1"}, {"DIA", "J1"}, {"MINUTOS", "10"}, {"CODIGO_DELPHOS", "77"}},
    });
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table[1].at("DIHO"), "11");
    EXPECT_EQ(table[1].at("MINUTOS"), "20");
    EXPECT_EQ(table[1].at("HORAHASTA"), "08:20");
    EXPECT_EQ(table[2].at("DIHO"), "41");
    EXPECT_EQ(table[2].at("CODDIHO"), "77");
}

TEST_F(ExportarTramosTest, MondayZeroIsIgnoredByTheScanButHasNoRow) {
    // L0 marks no slot; its own row has no start time to take.
    EXPECT_EQ(failure({slot("L1", "55"), slot("L0", "45")}),
              "El registro 2 de la sección TRAMOS tiene el número de tramo 0; debe estar entre 1 "
              "y 20");
}

TEST_F(ExportarTramosTest, ConversionFailures) {
    const struct {
        std::vector<Labelled> records;
        const char* message;
    } cases[] = {
        // No Monday record: slot 1 rows take the prompt's time, others have none.
        {{slot("M1", "55"), slot("M2", "55")},
         "'' is not a valid integer value. El registro 2 de la sección TRAMOS es del tramo 2, que "
         "el lunes no tiene, y su hora de inicio sale del lunes"},
        {{slot("L1", "55"), slot("L2", "55"), slot("L4", "55")},
         "'' is not a valid integer value. El lunes de la sección TRAMOS tiene el tramo 4 "
         "(registro 3) pero no el tramo 3, de cuyo final sale la hora en que empieza"},
        {{slot("L1", "55"), slot("MX", "55")},
         "'X' is not a valid integer value. Está en el registro 2 de la sección TRAMOS, campo 2 "
         "(código del tramo «MX»), valor «X»"},
        {{slot("L1", "55"), slot("M", "55")},
         "'' is not a valid integer value. Está en el registro 2 de la sección TRAMOS, campo 2 "
         "(código del tramo «M»), que está vacío"},
        {{slot("L1", "55min")},
         "'55min' is not a valid integer value. Está en el registro 1 de la sección TRAMOS, "
         "campo MINUTOS, valor «55min»"},
        {{slot("L1", "$3C")},
         "'$3C' is not a valid integer value. Está en el registro 1 de la sección TRAMOS, campo "
         "MINUTOS, valor «$3C»"},
        {{slot("L$A", "55")},
         "'$A' is not a valid integer value. Está en el registro 1 de la sección TRAMOS, campo 2 "
         "(código del tramo «L$A»), valor «$A»"},
        {{slot("L1", "55"), {{"CODIGO_DELPHOS", "1"}, {"NOMBRE", "L1"}, {"FIN", "55"}}},
         "'' is not a valid integer value. Está en el registro 2 de la sección TRAMOS, campo "
         "MINUTOS, que está vacío"},
        {{slot("L1", "55"), {{"CODIGO_DELPHOS", "1"}, {"X", "L1"}, {"MINUTOS", "55"}}},
         "'' is not a valid integer value. Está en el registro 2 de la sección TRAMOS, campo "
         "NOMBRE, que está vacío"},
        // Monday's slot 1 without minutes gives slot 2 no start.
        {{slot("L1", ""), slot("L2", "55")},
         "'' is not a valid integer value. Está en el registro 1 de la sección TRAMOS, campo 3 "
         "(minutos del tramo 1 del lunes), que está vacío"},
    };
    for (const auto& c : cases) EXPECT_EQ(failure(c.records), c.message);
}

TEST_F(ExportarTramosTest, MissingMondaySlotSix) {
    std::vector<Labelled> week;
    for (int s : {1, 2, 3, 4, 5, 7}) week.push_back(slot("L" + std::to_string(s), "55"));
    EXPECT_EQ(failure(week),
              "'' is not a valid integer value. El lunes de la sección TRAMOS tiene el tramo 7 "
              "(registro 6) pero no el tramo 6, de cuyo final sale la hora en que empieza");
}

TEST_F(ExportarTramosTest, RecordsTheTablesCannotHoldAreErrorsNamingThem) {
    const struct {
        std::vector<Labelled> records;
        const char* message;
    } cases[] = {
        {{slot("L1", "55"), slot("L21", "55")},
         "El registro 2 de la sección TRAMOS tiene el número de tramo 21; debe estar entre 1 y 20"},
        {{slot("L1", "55"), slot("M21", "55")},
         "El registro 2 de la sección TRAMOS tiene el número de tramo 21; debe estar entre 1 y 20"},
        {{slot("L1", "55"), slot("M-1", "55")},
         "El registro 2 de la sección TRAMOS tiene el número de tramo -1; debe estar entre 1 y 20"},
        {{slot("L1", "55"), {{"CODIGO_DELPHOS", "1"}, {"NOMBRE", "L2"}}},
         "El registro 2 de la sección TRAMOS tiene 2 campos; se esperan 3"},
        {{{{"NOMBRE", "L1"}}}, "El registro 1 de la sección TRAMOS tiene 1 campo; se esperan 3"},
    };
    for (const auto& c : cases) EXPECT_EQ(failure(c.records), c.message);
}

TEST_F(ExportarTramosTest, FieldWithoutLabelIsAnError) {
    ScriptedPrompt prompt({"08:00"});
    auto document = export_test::parse(
        "<SERVICIO><SALIDAS><listasal seq=\"TRAMOS\"><listasal><salida dato=\"CODIGO_DELPHOS\">1"
        "</salida><salida dato=\"NOMBRE\">L1</salida><salida>55</salida></listasal></listasal>"
        "</SALIDAS></SERVICIO>");
    try {
        ExportarTramos(*document, dir.path(), prompt);
        FAIL();
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(),
                     "El registro 1 de la sección TRAMOS tiene el campo 3 sin etiqueta \"dato\"");
    }
}

TEST_F(ExportarTramosTest, RowsPostedBeforeAFailureStay) {
    EXPECT_EQ(failure({slot("L1", "55"), slot("M1", "55"), slot("M1", "x")}),
              "'x' is not a valid integer value. Está en el registro 3 de la sección TRAMOS, "
              "campo MINUTOS, valor «x»");
    // The Monday scan has read "x" but not converted it; the row pass stops there.
    EXPECT_EQ(readTable(dir.path(), formats::kDiashorast).size(), 2u);
}

}  // namespace
}  // namespace mirvane::exporting
