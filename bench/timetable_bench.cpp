// The timetable page on the generated schools: what it adds to the import
// (in this process, and as the program's default run beside the same run
// with --sin-horario, pair by pair), what writing it alone costs and how
// large it is, and how long headless Chromium takes to open it at a
// teacher's week beside a blank page, in the same run.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/import_run.h"
#include "formats/work_tables.h"
#include "import/importar_solucion.h"
#include "report/timetable_page.h"
#include "support/programs.h"
#include "support/schools.h"
#include "xml/document.h"

namespace {

namespace fs = std::filesystem;
using mirvane::bench::ImportSchools;
using mirvane::bench::sizeName;

double secondsOf(const std::vector<std::string>& arguments) {
    const auto start = std::chrono::steady_clock::now();
    mirvane::bench::runProgram(arguments, ImportSchools::get().scratch());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// The import in this process, with its report, and with the timetable page
// or without it.
void BM_ImportInProcess(benchmark::State& state) {
    const std::string size = sizeName(state);
    const bool timetable = state.range(1) != 0;
    ImportSchools& schools = ImportSchools::get();
    for (auto _ : state) {
        mirvane::core::ImportRun run(schools.workFolder(size));
        run.requestReport(schools.scratch() / "informe.html");
        if (timetable) run.requestTimetable();
        benchmark::DoNotOptimize(run.run(schools.document(size)));
    }
    state.SetLabel(size + (timetable ? ", con horario" : ", sin horario"));
}

// A school's lessons as the import tells them, recorded once.
const mirvane::report::Timetable& recorded(const std::string& size) {
    static std::map<std::string, std::unique_ptr<mirvane::report::Timetable>> timetables;
    auto& timetable = timetables[size];
    if (!timetable) {
        using namespace mirvane;
        ImportSchools& schools = ImportSchools::get();
        xml::Document document;
        document.load(schools.document(size));
        formats::WorkTableComponents tables(schools.workFolder(size));
        timetable = std::make_unique<report::Timetable>();
        importing::ImportarSolucion(document, schools.scratch() / "grabado.xml", tables,
                                    timetable.get());
    }
    return *timetable;
}

// Writing the page alone, from the recorded lessons; page_MB is its size.
void BM_TimetablePage(benchmark::State& state) {
    const std::string size = sizeName(state);
    const mirvane::report::Timetable& timetable = recorded(size);
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        mirvane::report::writeTimetablePage(
            timetable, {"datos.xml", "resultado.xml", "horario.html", {}, 0},
            [&bytes](std::string_view piece) { bytes += piece.size(); });
    }
    state.counters["page_MB"] = static_cast<double>(bytes) / 1e6;
    state.counters["lessons"] = static_cast<double>(timetable.lessons().size());
    state.SetLabel(size);
}

// The default import (report and timetable) beside the same with
// --sin-horario, in turn, on the stress school: horario_x is the median of
// their ratios (wall time, whole process), which pairs keep steady on a
// shared machine.
void BM_TimetableShareCli(benchmark::State& state) {
    ImportSchools& schools = ImportSchools::get();
    const std::vector<std::string> with{mirvane::bench::programPath("mirvane-cli"), "importar",
                                        schools.document("stress").string(), "--carpeta",
                                        schools.workFolder("stress").string()};
    std::vector<std::string> without = with;
    without.push_back("--sin-horario");
    std::vector<double> ratios;
    bool withFirst = false;
    for (auto _ : state) {
        std::array<double, 2> seconds{};  // without, with
        for (const bool timetable : {withFirst, !withFirst})
            seconds[timetable] = secondsOf(timetable ? with : without);
        ratios.push_back(seconds[1] / seconds[0]);
        withFirst = !withFirst;
    }
    state.counters["horario_x"] = median(ratios);
    state.SetLabel("stress, por defecto frente a --sin-horario");
}

// The page of a school as the import writes it, written once, in a folder
// of its own.
fs::path pageOf(const std::string& size) {
    static std::map<std::string, fs::path> pages;
    fs::path& page = pages[size];
    if (page.empty()) {
        ImportSchools& schools = ImportSchools::get();
        const fs::path folder = schools.scratch() / ("pagina-" + size);
        fs::create_directories(folder);
        fs::copy_file(schools.document(size), folder / "datos.xml");
        mirvane::core::ImportRun run(schools.workFolder(size));
        run.requestTimetable();
        run.run(folder / "datos.xml");
        page = run.timetable()->path;
    }
    return page;
}

// Headless Chromium on `url` with its own fresh profile, as a first opening,
// and `arguments`; what it says of the machine (no D-Bus, no GPU) is left out.
double chromium(const std::string& url, const std::string& arguments) {
    const fs::path profile = ImportSchools::get().scratch() / "perfil";
    fs::remove_all(profile);
    return secondsOf({"/bin/sh", "-c",
                      "exec /usr/bin/chromium --headless --no-sandbox --disable-gpu "
                      "--user-data-dir='" +
                          profile.string() + "' " + arguments + " '" + url + "' 2>/dev/null"});
}

// Chromium opening the page at its first teacher's week, taking its
// picture at 1280 px wide, beside the same for a blank page, in turn:
// carga_s is the median of the differences, blanco_s the blank page's own.
void BM_TimetableLoadChromium(benchmark::State& state) {
    const fs::path page = pageOf(sizeName(state));
    const fs::path blank = page.parent_path() / "blanco.html";
    std::ofstream(blank) << "<!DOCTYPE html><html lang=\"es\"><body></body></html>\n";
    const std::string picture = "--hide-scrollbars --window-size=1280,900 --screenshot='" +
                                (page.parent_path() / "captura.png").string() + "'";
    std::vector<double> differences, blanks;
    bool pageFirst = false;
    for (auto _ : state) {
        std::array<double, 2> seconds{};  // blank, page
        for (const bool isPage : {pageFirst, !pageFirst})
            seconds[isPage] = chromium(
                "file://" + (isPage ? page.string() + "#profesor-1" : blank.string()), picture);
        differences.push_back(seconds[1] - seconds[0]);
        blanks.push_back(seconds[0]);
        pageFirst = !pageFirst;
    }
    state.counters["carga_s"] = median(differences);
    state.counters["blanco_s"] = median(blanks);
    state.counters["page_MB"] = static_cast<double>(fs::file_size(page)) / 1e6;
    state.SetLabel(sizeName(state));
}

// Every week of the generated school made ready for printing in Chromium,
// as the page does before it prints: semanas is how many there are, and
// una_hoja how many fit one A4 landscape sheet (its height, at the type
// the page chose, within the sheet's).
constexpr std::string_view kEverySheet = R"(<script>
(async () => {
  const weeks = [...document.querySelectorAll('#listas a:not(.sin-clases)')];
  let fit = 0;
  for (const week of weeks) {
    location.hash = week.getAttribute('href');
    await new Promise((done) => setTimeout(done, 0));
    dispatchEvent(new Event('beforeprint'));
    const sheet = document.querySelector('#semana .hoja');
    sheet.classList.add('midiendo');
    fit += sheet.offsetHeight <= 190 * 96 / 25.4;
    sheet.classList.remove('midiendo');
    dispatchEvent(new Event('afterprint'));
  }
  const said = document.createElement('pre');
  said.id = 'hojas';
  said.textContent = weeks.length + ' ' + fit;
  document.body.append(said);
})();
</script>)";

void BM_TimetableSheetsChromium(benchmark::State& state) {
    const fs::path page = pageOf("school");
    const fs::path checked = page.parent_path() / "hojas.html";
    const fs::path dom = page.parent_path() / "hojas.txt";
    std::ifstream in(page);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    text.insert(text.rfind("</body>"), kEverySheet);
    std::ofstream(checked) << text;
    for (auto _ : state)
        chromium("file://" + checked.string(),
                 "--virtual-time-budget=600000 --disable-ipc-flooding-protection --dump-dom > '" +
                     dom.string() + "'");
    std::ifstream said(dom);
    const std::string found((std::istreambuf_iterator<char>(said)),
                            std::istreambuf_iterator<char>());
    const std::size_t at = found.find("<pre id=\"hojas\">");
    double weeks = 0, fit = 0;
    if (at != std::string::npos) std::sscanf(found.c_str() + at + 16, "%lf %lf", &weeks, &fit);
    state.counters["semanas"] = weeks;
    state.counters["una_hoja"] = fit;
    state.SetLabel("school");
}

BENCHMARK(BM_ImportInProcess)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_TimetablePage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TimetableShareCli)->Iterations(31)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TimetableLoadChromium)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(11)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_TimetableSheetsChromium)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
