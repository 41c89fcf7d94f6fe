#include "report/export_report.h"

#include <algorithm>
#include <span>

#include <fmt/format.h>

#include "base/paths.h"
#include "base/text.h"
#include "report/csv.h"
#include "report/html.h"
#include "report/report_file.h"
#include "report/school_words.h"

namespace mirvane::report {
namespace {

std::string code(std::string_view name) {
    return "<code>" + std::string(name) + "</code>";
}

// A name of the school's, as text rather than as a code.
std::string name(std::string_view cp1252) {
    std::string out;
    html::appendWindows1252Text(out, cp1252);
    return out;
}

std::string failureBlock(const ExportFailure& failure) {
    return "<div class=\"aviso\">\n<p><strong>La exportación no terminó.</strong> "
           "Se detuvo con este error:</p>\n<p><strong>" +
           html::text(failure.message) +
           "</strong></p>\n<p><strong>Ninguna tabla de la carpeta de trabajo ha cambiado</strong>: "
           "Tablexa sigue teniendo las mismas tablas que antes de exportar.</p>\n" +
           html::whatToDo(
               "corrija en Delphos lo que dice el error, descargue de nuevo el "
               "documento y vuelva a exportar.") +
           "</div>\n";
}

// What Tablexa has now, in words: "28 materias, 31 profesores, … y 35 tramos horarios".
std::string tablesBlock(const std::vector<TableProgress>& tables) {
    std::vector<std::string> rows;
    for (const TableProgress& table : tables) rows.push_back(tableRows(table.table, table.rows));
    return "<p class=\"resumen\">Tablexa tiene ya los datos del centro: " +
           html::text(listed(rows)) + ".</p>\n";
}

std::string emptySectionsBlock(const std::vector<std::string_view>& sections) {
    std::vector<std::string> nouns, names;
    for (std::string_view section : sections) {
        nouns.push_back(std::string(sectionNoun(section)));
        names.push_back(code(section));
    }
    return "<div class=\"aviso\">\n<p><strong>Al documento le faltan datos:</strong> no trae " +
           html::text(listed(nouns, " ni ")) + ": esas tablas de Tablexa quedan vacías.</p>\n" +
           html::whatToDo(
               "si no es lo que esperaba, compruebe que eligió el documento completo "
               "que envió Delphos y vuelva a exportar.") +
           html::technical("faltan las secciones " + listed(names) +
                           "; sus tablas quedan sin filas.") +
           "</div>\n";
}

// Where the tables this run replaced are kept, and the two ways back to them.
std::string earlierBlock(const ExportReportFacts& facts) {
    if (facts.earlierFiles.empty())
        return "<p class=\"datos\">Antes de esta exportación no había tablas en la carpeta de "
               "trabajo.</p>\n";
    const std::string folder = html::text(paths::toUtf8(facts.earlierFolder));
    const std::string work = html::text(paths::toUtf8(facts.workFolder));
    std::vector<std::string> files;
    for (const std::string& file : facts.earlierFiles) files.push_back(code(html::text(file)));
    return "<div class=\"datos\">\n<p><strong>Las tablas que había antes se guardan</strong> en "
           "<code>" +
           folder +
           "</code>. Para volver a ellas, con Tablexa cerrado:</p>\n<ul>\n<li>con la orden "
           "<code>mirvane-cli restaurar --carpeta \"" +
           work +
           "\"</code> (en PowerShell, <code>.\\mirvane-cli</code>, desde la carpeta de Mirvane), "
           "que se deshace repitiéndola; o</li>\n<li>a mano: copie " +
           listed(files) + " de esa carpeta a <code>" + work +
           "</code>, sustituyendo los que hay.</li>\n</ul>\n</div>\n";
}

// Under a shortened table: how many rows it leaves out, and where they are.
std::string moreRows(std::size_t total, const ExportReportFacts& facts) {
    if (total <= kShownRows) return {};
    std::string out = fmt::format("<p>Se muestran las primeras {} de {}.", kShownRows, total);
    if (!facts.csv.empty())
        out += " Todas están en " +
               html::fileLink(facts.page, facts.csv, paths::toUtf8(facts.csv.filename())) +
               " (se abre con Excel o LibreOffice Calc).";
    return out + "</p>\n";
}

template <typename Rows>
auto shown(const Rows& rows) {
    return std::span(rows.data(), std::min(rows.size(), kShownRows));
}

// What the page says of one kind of problem, in the order it says it.
struct Problem {
    std::string_view anchor, heading, happened, whatToDo, technical;
};

std::string problemStart(const Problem& problem, std::size_t count) {
    return html::sectionStart(problem.anchor, problem.heading, count) + "<p>" +
           html::text(problem.happened) + "</p>\n";
}

std::string problemEnd(const Problem& problem, std::size_t rows, const ExportReportFacts& facts) {
    return std::string(html::kTableEnd) + moreRows(rows, facts) +
           html::whatToDo(html::text(problem.whatToDo)) +
           html::technical(html::text(problem.technical)) + std::string(html::kSectionEnd);
}

constexpr Problem kDropped{
    "repetidas", "Materias repetidas que Tablexa no recibe",
    "Estas materias tienen la misma abreviatura que otra anterior del documento, aunque cambien "
    "mayúsculas y minúsculas (como mat1 y MAT1). Tablexa recibe solo la primera: de estas no "
    "pasa ningún dato.",
    "si es la misma materia repetida, nada. Si son materias distintas, deles en Delphos "
    "abreviaturas distintas y vuelva a exportar.",
    "sección MATERIAS; la tabla ASIGNOMT guarda una fila por abreviatura (COD), sin distinguir "
    "mayúsculas de minúsculas."};

std::string droppedSection(const std::vector<DroppedSubject>& dropped,
                           const ExportReportFacts& facts) {
    std::string out = problemStart(kDropped, dropped.size()) +
                      html::tableStart({"Materia", "Abreviatura", "Código en Delphos", "Registro",
                                        "Se queda la del registro", "con la abreviatura"});
    for (const DroppedSubject& d : shown(dropped))
        out += html::row({name(d.nombre), html::value(d.cod), html::value(d.materia),
                          std::to_string(d.record), std::to_string(d.keptRecord),
                          html::value(d.keptCod)});
    return out + problemEnd(kDropped, dropped.size(), facts);
}

constexpr Problem kSkipped{
    "incompletos", "Registros incompletos que no pasan a Tablexa",
    "Estos registros del documento traen menos de dos datos, así que no dan ninguna fila: "
    "Tablexa no los recibe.",
    "un registro vacío no necesita nada. Si algo falta en Tablexa, complete sus datos en Delphos "
    "y vuelva a exportar.",
    "registros (listasal) con menos de dos campos (salida); ninguno da fila en su tabla."};

std::string skippedSection(const std::vector<SkippedRecord>& skipped,
                           const ExportReportFacts& facts) {
    std::string out = problemStart(kSkipped, skipped.size()) +
                      html::tableStart({"Datos de", "Registro", "Datos que trae", "Sección"});
    for (const SkippedRecord& s : shown(skipped))
        out += html::row({html::text(sectionNoun(s.section)), std::to_string(s.record),
                          std::to_string(s.fields), code(s.section)});
    return out + problemEnd(kSkipped, skipped.size(), facts);
}

constexpr Problem kReadBackCuts{
    "codigos", "Códigos demasiado largos, que volverán mal a Delphos",
    "Estos códigos no caben en las tablas de Tablexa y se guardan recortados. Al importar el "
    "horario, las clases que dependan de ellos llegarán a Delphos con ese dato vacío o "
    "equivocado.",
    "acorte estos códigos en Delphos para que quepan (columna «Caben») y vuelva a exportar.",
    "la importación busca las clases por estos campos, o los devuelve a Delphos tal como están "
    "guardados."};

constexpr Problem kTextCuts{
    "textos", "Textos recortados",
    "Estos textos no caben en su campo de las tablas de Tablexa y se guardan recortados: Tablexa "
    "muestra solo el principio. La importación no los usa, así que a Delphos no le afectan.",
    "nada, si el principio basta para reconocerlos; si no, acórtelos en Delphos y vuelva a "
    "exportar.",
    "campos que solo lee Tablexa."};

std::string cutTable(const std::vector<const CutValue*>& cuts) {
    std::string out = html::tableStart({"Qué dato", "Valor en el documento", "Se guarda", "Caben",
                                        "Filas", "Primer registro", "Tabla y campo"});
    for (const CutValue* cut : shown(cuts))
        out += html::row(
            {html::text(fieldWords(cut->table, cut->field)), html::value(cut->value),
             html::value(cut->stored), std::to_string(cut->stored.size()),
             std::to_string(cut->rows), std::to_string(cut->firstRecord),
             "<span class=\"tecnico\">" + code(cut->table) + "." + code(cut->field) + "</span>"});
    return out;
}

std::string rowsOf(const std::vector<const CutValue*>& cuts) {
    std::size_t rows = 0;
    for (const CutValue* cut : cuts) rows += cut->rows;
    return counted(cuts.size(), "valor", "valores distintos") + " en " +
           counted(rows, "fila", "filas");
}

std::string cutSection(const Problem& problem, const std::vector<const CutValue*>& cuts,
                       const ExportReportFacts& facts) {
    return problemStart(problem, cuts.size()) + "<p>" + rowsOf(cuts) + ".</p>\n" + cutTable(cuts) +
           problemEnd(problem, cuts.size(), facts);
}

// Cuts by design, which are no warning: shown once, folded, for the curious.
std::string expectedCutsSection(const std::vector<const CutValue*>& cuts) {
    return "<section id=\"previstos\">\n<details>\n<summary>Recortes previstos (" + rowsOf(cuts) +
           ")</summary>\n<p>Los datos de una sola letra guardan solo la inicial, que es lo que "
           "Tablexa usa: el turno MAÑANA se guarda como M. No son avisos.</p>\n" +
           cutTable(cuts) + std::string(html::kTableEnd) + html::whatToDo("nada.") +
           "</details>\n</section>\n";
}

constexpr Problem kSlots{
    "tramos", "Tramos que la importación no encontrará",
    "Las clases que Tablexa ponga en estos tramos llegarán a Delphos sin día ni tramo.",
    "en Delphos, escriba el código de cada tramo con la letra del día (L, M, X, J, V, S o D) "
    "seguida del número, sin ceros delante (L3, no L03), y vuelva a exportar.",
    "la importación busca cada clase en DIASHORAST por DIHO: el dígito del día seguido del "
    "número del tramo, sin ceros delante."};

std::string slotReason(const UnreachableSlot& slot) {
    if (slot.reason == UnreachableSlot::Reason::UnknownWeekday)
        return "La letra del día, " + html::value(slot.slotCode.substr(0, 1)) +
               ", no es ninguna de L M X J V S D";
    return "El número del tramo no está escrito como la importación lo busca (por ejemplo, "
           "lleva un cero delante)";
}

std::string slotSection(const std::vector<UnreachableSlot>& slots, const ExportReportFacts& facts) {
    std::string out = problemStart(kSlots, slots.size()) +
                      html::tableStart({"Tramo", "Registro", "Por qué", "DIHO guardado",
                                        "Clave que buscará la importación"});
    for (const UnreachableSlot& s : shown(slots)) {
        const bool weekday = s.reason == UnreachableSlot::Reason::UnknownWeekday;
        out +=
            html::row({html::value(s.slotCode), std::to_string(s.record), slotReason(s),
                       html::value(s.diho), weekday ? std::string("—") : html::value(s.keySought)});
    }
    return out + problemEnd(kSlots, slots.size(), facts);
}

}  // namespace

std::string exportReportPage(const ExportWarnings& warnings, const ExportReportFacts& facts) {
    std::vector<const CutValue*> readBackCuts, textCuts, expectedCuts;
    for (const CutValue& cut : warnings.cutValues())
        (cut.expected ? expectedCuts : cut.readBack ? readBackCuts : textCuts).push_back(&cut);

    std::string out =
        html::pageStart("Informe de exportación: " + paths::toUtf8(facts.document.filename())) +
        "<h1>Informe de exportación</h1>\n<p class=\"datos\">Documento: <code>" +
        html::text(paths::toUtf8(facts.document)) + "</code><br>Carpeta de trabajo: <code>" +
        html::text(paths::toUtf8(facts.workFolder)) + "</code><br>Exportado el " +
        html::text(madeOn(facts.made)) + "</p>\n";
    if (facts.failure) {
        out += failureBlock(*facts.failure);
    } else {
        out += tablesBlock(warnings.progress());
        if (!facts.emptySections.empty()) out += emptySectionsBlock(facts.emptySections);
        out += earlierBlock(facts);
    }

    const std::size_t count = warnings.count();
    if (count == 0) {
        out += facts.failure ? "<p class=\"bien\">De lo que se llegó a exportar antes del error "
                               "no se ha perdido nada.</p>\n"
                             : "<p class=\"bien\">No se ha perdido nada: todo lo que trae el "
                               "documento ha llegado tal cual a las tablas de Tablexa.</p>\n";
    } else {
        out += fmt::format(
            "<p class=\"nota\"><strong>{}.</strong> Lo que sigue no ha llegado tal cual a "
            "Tablexa, o no volverá igual a Delphos; lo más grave, primero. Cada aviso dice qué "
            "hacer.</p>\n<ul>\n",
            counted(count, "aviso", "avisos"));
        const auto line = [&out](const Problem& problem, std::size_t n) {
            if (n) out += html::summaryLine(problem.anchor, problem.heading, n);
        };
        line(kDropped, warnings.droppedSubjects().size());
        line(kSkipped, warnings.skippedRecords().size());
        line(kReadBackCuts, readBackCuts.size());
        line(kSlots, warnings.unreachableSlots().size());
        line(kTextCuts, textCuts.size());
        out += "</ul>\n";
    }

    if (!warnings.droppedSubjects().empty())
        out += droppedSection(warnings.droppedSubjects(), facts);
    if (!warnings.skippedRecords().empty()) out += skippedSection(warnings.skippedRecords(), facts);
    if (!readBackCuts.empty()) out += cutSection(kReadBackCuts, readBackCuts, facts);
    if (!warnings.unreachableSlots().empty())
        out += slotSection(warnings.unreachableSlots(), facts);
    if (!textCuts.empty()) out += cutSection(kTextCuts, textCuts, facts);
    if (!expectedCuts.empty()) out += expectedCutsSection(expectedCuts);
    return out + html::pageEnd();
}

bool exportReportIsShortened(const ExportWarnings& warnings) {
    std::size_t readBack = 0, text = 0;
    for (const CutValue& cut : warnings.cutValues())
        if (!cut.expected) ++(cut.readBack ? readBack : text);
    return std::max({warnings.droppedSubjects().size(), warnings.skippedRecords().size(),
                     warnings.unreachableSlots().size(), readBack, text}) > kShownRows;
}

std::string exportWarningsCsv(const ExportWarnings& warnings) {
    std::string out(csv::kByteOrderMark);
    csv::appendRow(out, {"Aviso", "Registro", "Qué dato", "Valor en el documento", "Se guarda",
                         "Filas", "Detalle", "Sección o tabla", "Campo"});
    for (const DroppedSubject& d : warnings.droppedSubjects())
        csv::appendRow(out, {"Materia repetida", std::to_string(d.record),
                             "abreviatura de la materia", text::toUtf8(d.cod), "", "",
                             text::toUtf8(d.nombre) + " (" + text::toUtf8(d.materia) +
                                 "); se queda la del registro " + std::to_string(d.keptRecord) +
                                 ", con la abreviatura " + text::toUtf8(d.keptCod),
                             "ASIGNOMT", "COD"});
    for (const SkippedRecord& s : warnings.skippedRecords())
        csv::appendRow(out, {"Registro incompleto", std::to_string(s.record),
                             std::string(sectionNoun(s.section)), "", "", "",
                             std::to_string(s.fields) + " datos", text::toUtf8(s.section), ""});
    for (bool readBack : {true, false})
        for (const CutValue& c : warnings.cutValues())
            if (!c.expected && c.readBack == readBack)
                csv::appendRow(
                    out, {readBack ? "Código recortado" : "Texto recortado",
                          std::to_string(c.firstRecord), std::string(fieldWords(c.table, c.field)),
                          text::toUtf8(c.value), text::toUtf8(c.stored), std::to_string(c.rows), "",
                          c.table, c.field});
    for (const UnreachableSlot& s : warnings.unreachableSlots()) {
        const bool weekday = s.reason == UnreachableSlot::Reason::UnknownWeekday;
        csv::appendRow(out,
                       {"Tramo que la importación no encontrará", std::to_string(s.record),
                        "código del tramo", text::toUtf8(s.slotCode), text::toUtf8(s.diho), "",
                        weekday ? std::string("La letra del día no es ninguna de L M X J V S D")
                                : "El número del tramo lleva un cero delante; la importación "
                                  "buscará " +
                                      text::toUtf8(s.keySought),
                        "DIASHORAST", "DIHO"});
    }
    return out;
}

}  // namespace mirvane::report
