#include "shell/main_form.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>

#include "base/paths.h"
#include "core/export_run.h"
#include "export/export_fixture.h"
#include "export/start_hour_prompt.h"
#include "formats/work_tables.h"
#include "shell/fake_window.h"
#include "support/testing.h"

namespace mirvane::shell {
namespace {

namespace fs = std::filesystem;

enum class WorkFolder { Empty, Exported, ExportedWithoutAsigt, ExportedWithoutLessons };
enum class Click { Exportar, Importar };
enum class Output { Nothing, Tables, ResultDocument };

// One life of the program: started with `parameters`, created and shown, the
// user's clicks while the window is open, then closed (by the run itself or,
// if it is still open, by the user or the host).
struct Session {
    const char* name;
    std::vector<std::string> parameters;
    WorkFolder work = WorkFolder::Empty;
    std::vector<std::string> dialog = {};  // file names in the documents' folder; "" cancels
    std::vector<std::string> startHours = {};
    std::vector<bool> answers = {};  // to the question boxes; no once they run out
    std::vector<Click> clicks = {};
    bool handleIsAWindow = true;
    // What the window was asked, in order; an entry ending in "*" matches
    // any call that starts with the text before it. A file opened shows as
    // "open" and its name; it must lie in the documents' folder.
    std::vector<std::string> calls = {};
    std::int32_t resultCode = 0;
    std::optional<std::int32_t> written = std::nullopt;  // in Tablexa.ini; nothing: no file
    Output output = Output::Nothing;
    // The reports and timetables in the documents' folder afterwards, by name.
    std::vector<std::string> reports = {};
};

// gtest names the failing session by it.
void PrintTo(const Session& session, std::ostream* out) {
    *out << session.name;
}

fs::path example(std::string_view name) {
    return mirvane::testing::sourceDir() / "examples" / "escuela" / name;
}

// The documents a session may choose: the example school, one that is not
// XML, one carried over faithfully, one with a single warning (a subject
// code repeated in another letter case), and one whose teachers' section
// stops the export after its first table.
void writeDocuments(const fs::path& folder) {
    using export_test::exchange;
    using export_test::section;
    fs::copy_file(example("datos.xml"), folder / "datos.xml");
    mirvane::testing::writeFile(folder / "roto.xml", "<listasal><seq>");
    mirvane::testing::writeFile(folder / "limpio.xml",
                                exchange({section("MATERIAS", {{"M1", "C1", "L1", "Uno"}})}));
    mirvane::testing::writeFile(
        folder / "repetida.xml",
        exchange({section("MATERIAS", {{"M1", "C1", "L1", "Uno"}, {"M2", "c1", "L2", "Dos"}})}));
    mirvane::testing::writeFile(
        folder / "amedias.xml",
        exchange({section("PROFESORES", {{"E1", "F1", "Ana"}})}));  // three fields of four
}

void prepare(WorkFolder work, const fs::path& folder, const fs::path& document) {
    if (work == WorkFolder::Empty) return;
    exporting::FixedStartHour prompt;
    core::ExportRun(folder, prompt).run(document);
    fs::copy_file(example("SOLUC.DBF"), folder / "SOLUC.DBF");
    if (work == WorkFolder::ExportedWithoutAsigt) fs::remove(folder / "ASIGT.DBF");
    if (work == WorkFolder::ExportedWithoutLessons) {
        dbf::Table soluc;
        formats::replaceTable(soluc, folder, formats::kSolucTable);
    }
}

void expectCalls(const std::vector<std::string>& actual, const std::vector<std::string>& expected) {
    bool same = actual.size() == expected.size();
    for (std::size_t i = 0; same && i < actual.size(); ++i) {
        const std::string& pattern = expected[i];
        same = pattern.ends_with('*') ? actual[i].starts_with(pattern.substr(0, pattern.size() - 1))
                                      : actual[i] == pattern;
    }
    EXPECT_TRUE(same) << "asked: " << ::testing::PrintToString(actual)
                      << "\nexpected: " << ::testing::PrintToString(expected);
}

class MainFormSession : public ::testing::TestWithParam<Session> {
  protected:
    mirvane::testing::TempDir work;
    mirvane::testing::TempDir executable;
    mirvane::testing::TempDir documents;
};

TEST_P(MainFormSession, FollowsTheRules) {
    const Session& session = GetParam();
    writeDocuments(documents.path());
    prepare(session.work, work.path(), documents / "datos.xml");

    testing::FakeWindow window;
    for (const std::string& name : session.dialog)
        window.files.push_back(name.empty() ? std::nullopt
                                            : std::optional<fs::path>(documents / name));
    window.startHours.assign(session.startHours.begin(), session.startHours.end());
    window.answers.assign(session.answers.begin(), session.answers.end());
    window.handleIsAWindow = session.handleIsAWindow;

    MainForm form(window, session.parameters, {work.path(), executable.path()});
    form.FormCreate();
    form.FormShow();
    for (const Click click : session.clicks) {
        if (window.closeAsked) break;
        click == Click::Exportar ? form.BExportarClick() : form.BImportarClick();
    }
    form.FormClose();

    expectCalls(window.calls, session.calls);
    for (const fs::path& opened : window.opened) {
        EXPECT_EQ(opened.parent_path(), documents.path()) << opened;
        EXPECT_TRUE(fs::is_regular_file(opened)) << opened;
    }
    EXPECT_FALSE(window.busy) << "the hourglass is left on";
    EXPECT_EQ(form.resultCode(), session.resultCode);
    const fs::path ini = executable / "Tablexa.ini";
    if (session.written) {
        EXPECT_EQ(mirvane::testing::readFile(ini),
                  "[Transformadores]\r\nTransformado=" + std::to_string(*session.written) + "\r\n");
    } else {
        EXPECT_FALSE(fs::exists(ini));
    }
    if (session.work == WorkFolder::Empty) {
        EXPECT_EQ(fs::exists(work / "DIASHORAST.DBF"), session.output == Output::Tables);
    }
    EXPECT_EQ(fs::exists(documents / "ResultadoVorsadatos.xml"),
              session.output == Output::ResultDocument);
    std::vector<std::string> reports;
    for (const fs::directory_entry& entry : fs::directory_iterator(documents.path()))
        if (entry.path().filename().string().find(" - ") != std::string::npos)
            reports.push_back(entry.path().filename().string());
    std::sort(reports.begin(), reports.end());
    EXPECT_EQ(reports, session.reports);
}

using Calls = std::vector<std::string>;

const Calls kExportCompletes = {
    "choose",     "busy on", "prompt 08:00 (busy)", "busy off", "info Proceso finalizado",
    "buttons off"};

Calls operator+(Calls first, const Calls& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// The questions after a completed export or import of the example school.
const std::string kExportWarnings = "ask La exportación tiene 2 avisos. ¿Desea abrir el informe?";
const std::string kImportWarnings = "ask La importación tiene 6 avisos. ¿Desea abrir el informe?";
const std::string kUnfinished =
    "ask Las tablas de Tablexa no han cambiado. El informe dice dónde se detuvo la exportación. "
    "¿Desea abrir el informe?";
const std::vector<std::string> kExportReport = {"datos - Informe de exportación.html"};
const std::vector<std::string> kImportReport = {"datos - Horario.html",
                                                "datos - Informe de importación (clases).csv",
                                                "datos - Informe de importación.html"};

INSTANTIATE_TEST_SUITE_P(
    Shell, MainFormSession,
    ::testing::Values(
        // Start-up from the command line.
        Session{.name = "NoParameters", .parameters = {}},
        Session{.name = "OneParameter", .parameters = {"exportar"}},
        Session{.name = "ThreeParameters", .parameters = {"exportar", "1A2B", "x"}},
        Session{.name = "HostExportCompletes",
                .parameters = {"EXPORTAR", "1A2B"},
                .dialog = {"datos.xml"},
                .calls = Calls{"embed 1a2b"} + kExportCompletes +
                         Calls{kExportWarnings + " -> no", "close"},
                .resultCode = 1,
                .written = 1,
                .output = Output::Tables,
                .reports = kExportReport},
        Session{.name = "HostOtherWordStartsNothing",
                .parameters = {"sincronizar", "1A2B"},
                .calls = {"embed 1a2b"},
                .written = 0},
        Session{.name = "InvalidHandleStillRunsButWritesNothing",
                .parameters = {"exportar", "XYZ"},
                .dialog = {"datos.xml"},
                .calls = Calls{"error '$XYZ' is not a valid integer value."} + kExportCompletes +
                         Calls{kExportWarnings + " -> no"},
                .resultCode = 1,
                .output = Output::Tables,
                .reports = kExportReport},
        Session{.name = "HandleOfNoWindowStillHandsBackTheCode",
                .parameters = {"exportar", "DEAD"},
                .dialog = {""},
                .handleIsAWindow = false,
                .calls = {"embed dead", "choose", "info No existe archivo", "close"},
                .resultCode = -1,
                .written = -1},
        // The runs in host mode.
        Session{.name = "HostExportCancelled",
                .parameters = {"exportar", "1A2B"},
                .dialog = {""},
                .calls = {"embed 1a2b", "choose", "info No existe archivo", "close"},
                .resultCode = -1,
                .written = -1},
        Session{.name = "HostImportCancelled",
                .parameters = {"importar", "1A2B"},
                .dialog = {""},
                .calls = {"embed 1a2b", "choose", "info No existe archivo", "close"},
                .written = 0},
        Session{.name = "HostExportOfAMissingFile",
                .parameters = {"exportar", "1A2B"},
                .dialog = {"otro.xml"},
                .calls = {"embed 1a2b", "choose", "info No existe archivo", "close"},
                .resultCode = -1,
                .written = -1},
        Session{.name = "HostImportCompletes",
                .parameters = {"importar", "1A2B"},
                .work = WorkFolder::Exported,
                .dialog = {"datos.xml"},
                .calls = {"embed 1a2b", "choose", "busy on", "busy off", "info Proceso finalizado",
                          "buttons off", kImportWarnings + " -> no", "close"},
                .resultCode = 1,
                .written = 1,
                .output = Output::ResultDocument,
                .reports = kImportReport},
        Session{.name = "HostFailedExportOffersItsReportAndStaysOpen",
                .parameters = {"exportar", "1A2B"},
                .dialog = {"amedias.xml"},
                .answers = {true},
                .calls = {"embed 1a2b", "choose", "busy on", "busy off", "error *",
                          kUnfinished + " -> yes", "open amedias - Informe de exportación.html"},
                .written = 0,
                .reports = {"amedias - Informe de exportación.html"}},
        Session{
            .name = "HostImportWithoutATableFailsAndStaysOpen",
            .parameters = {"importar", "1A2B"},
            .work = WorkFolder::ExportedWithoutAsigt,
            .dialog = {"datos.xml"},
            .calls = {"embed 1a2b", "choose", "busy on", "busy off", "error No existe la tabla *"},
            .written = 0},
        // The buttons, in interactive mode.
        Session{.name = "InteractiveExportCompletesAndOpensItsReportOnYes",
                .parameters = {},
                .dialog = {"datos.xml"},
                .answers = {true},
                .clicks = {Click::Exportar},
                .calls = kExportCompletes + Calls{kExportWarnings + " -> yes",
                                                  "open datos - Informe de exportación.html"},
                .resultCode = 1,
                .output = Output::Tables,
                .reports = kExportReport},
        Session{.name = "InteractiveExportCompletesAndOpensNothingOnNo",
                .parameters = {},
                .dialog = {"datos.xml"},
                .answers = {false},
                .clicks = {Click::Exportar},
                .calls = kExportCompletes + Calls{kExportWarnings + " -> no"},
                .resultCode = 1,
                .output = Output::Tables,
                .reports = kExportReport},
        Session{.name = "InteractiveExportWithoutWarningsAsksNothing",
                .parameters = {},
                .dialog = {"limpio.xml"},
                .answers = {true},
                .clicks = {Click::Exportar},
                .calls = kExportCompletes,
                .resultCode = 1,
                .output = Output::Tables,
                .reports = {"limpio - Informe de exportación.html"}},
        Session{.name = "OneWarningIsCountedInTheSingular",
                .parameters = {},
                .dialog = {"repetida.xml"},
                .answers = {true},
                .clicks = {Click::Exportar},
                .calls = kExportCompletes +
                         Calls{"ask La exportación tiene 1 aviso. ¿Desea abrir el informe? -> yes",
                               "open repetida - Informe de exportación.html"},
                .resultCode = 1,
                .output = Output::Tables,
                .reports = {"repetida - Informe de exportación.html"}},
        Session{.name = "InteractiveFailedExportOffersItsReportAfterTheError",
                .parameters = {},
                .dialog = {"amedias.xml"},
                .answers = {true},
                .clicks = {Click::Exportar},
                .calls = {"choose", "busy on", "busy off", "error *", kUnfinished + " -> yes",
                          "open amedias - Informe de exportación.html"},
                .reports = {"amedias - Informe de exportación.html"}},
        Session{.name = "InteractiveCancelAtFirstUse",
                .parameters = {},
                .dialog = {""},
                .clicks = {Click::Exportar, Click::Importar},
                .calls = {"choose", "info No existe archivo", "choose", "info No existe archivo"}},
        Session{.name = "InteractiveImportCompletes",
                .parameters = {},
                .work = WorkFolder::Exported,
                .dialog = {"datos.xml"},
                .clicks = {Click::Importar},
                .calls = {"choose", "busy on", "busy off", "info Proceso finalizado", "buttons off",
                          kImportWarnings + " -> no"},
                .resultCode = 1,
                .output = Output::ResultDocument,
                .reports = kImportReport},
        Session{.name = "InteractiveImportWithoutWarningsOffersTheTimetable",
                .parameters = {},
                .work = WorkFolder::ExportedWithoutLessons,
                .dialog = {"datos.xml"},
                .answers = {true},
                .clicks = {Click::Importar},
                .calls = {"choose", "busy on", "busy off", "info Proceso finalizado", "buttons off",
                          "ask ¿Desea ver el horario tal como lo recibirá Delphos? -> yes",
                          "open datos - Horario.html"},
                .resultCode = 1,
                .output = Output::ResultDocument,
                .reports = kImportReport},
        Session{.name = "AFailedRunIsTriedAgainWithTheLastFile",
                .parameters = {},
                .dialog = {"datos.xml", ""},
                .startHours = {"  :  "},
                .clicks = {Click::Exportar, Click::Exportar},
                .calls = Calls{"choose", "busy on", "prompt   :   (busy)", "busy off",
                               "error '  ' is not a valid integer value.", kUnfinished + " -> no"} +
                         kExportCompletes + Calls{kExportWarnings + " -> no"},
                .resultCode = 1,
                .output = Output::Tables,
                .reports = kExportReport},
        Session{.name = "ExportLoadsBeforeTheHourglass",
                .parameters = {},
                .dialog = {"roto.xml"},
                .clicks = {Click::Exportar},
                .calls = {"choose", "error El archivo roto.xml no es un documento XML válido*"}},
        Session{.name = "ImportLoadsUnderTheHourglass",
                .parameters = {},
                .work = WorkFolder::Exported,
                .dialog = {"roto.xml"},
                .clicks = {Click::Importar},
                .calls = {"choose", "busy on", "busy off",
                          "error El archivo roto.xml no es un documento XML válido*"}}),
    [](const auto& info) { return std::string(info.param.name); });

class MainFormTest : public ::testing::Test {
  protected:
    testing::FakeWindow window;
    mirvane::testing::TempDir work;
    mirvane::testing::TempDir executable;
};

TEST_F(MainFormTest, TheRunStartsOnTheFirstShowOnly) {
    MainForm form(window, {"exportar", "1A2B"}, {work.path(), executable.path()});
    form.FormCreate();
    form.FormShow();
    form.FormShow();
    expectCalls(window.calls, {"embed 1a2b", "choose", "info No existe archivo", "close"});
}

TEST_F(MainFormTest, TheHostsFileIsEditedWhateverItsLetterCase) {
    mirvane::testing::writeFile(executable / "TABLEXA.INI", "[Tablexa]\r\nVersion=4\r\n");
    MainForm form(window, {"sincronizar", "1A2B"}, {work.path(), executable.path()});
    form.FormCreate();
    form.FormClose();
    EXPECT_EQ(mirvane::testing::readFile(executable / "TABLEXA.INI"),
              "[Tablexa]\r\nVersion=4\r\n[Transformadores]\r\nTransformado=0\r\n");
    EXPECT_FALSE(fs::exists(executable / "Tablexa.ini"));
}

TEST_F(MainFormTest, AFailedWriteOfTheCodeIsReportedAndTheCloseGoesOn) {
    fs::create_directory(executable / "Tablexa.ini");
    MainForm form(window, {"sincronizar", "1A2B"}, {work.path(), executable.path()});
    form.FormCreate();
    EXPECT_NO_THROW(form.FormClose());
    form.FormClose();  // the window is destroyed after its close: no second report
    expectCalls(window.calls, {"embed 1a2b", "error No se puede *"});
}

TEST_F(MainFormTest, AReportThatCouldNotBeSavedIsNotOffered) {
    mirvane::testing::TempDir documents;
    fs::copy_file(example("datos.xml"), documents / "datos.xml");
    fs::create_directory(documents.path() /
                         paths::fromUtf8("datos - Informe de exportación.html"));  // in the way
    window.files.push_back(documents / "datos.xml");
    window.answers.push_back(true);
    MainForm form(window, {}, {work.path(), executable.path()});
    form.FormCreate();
    form.BExportarClick();
    expectCalls(window.calls, kExportCompletes);
    EXPECT_TRUE(fs::exists(work / "DIASHORAST.DBF"));
}

}  // namespace
}  // namespace mirvane::shell
