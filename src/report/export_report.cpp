#include "report/export_report.h"

#include <algorithm>
#include <span>

#include <fmt/format.h>

#include "base/paths.h"
#include "base/text.h"
#include "report/csv.h"
#include "report/html.h"
#include "report/report_file.h"

namespace mirvane::report {
namespace {

std::string failureBlock(const ExportFailure& failure) {
    return "<div class=\"aviso\">\n<p><strong>La exportación no terminó.</strong> "
           "Se detuvo con este error:</p>\n<p><strong>" +
           html::text(failure.message) +
           "</strong></p>\n<p><strong>Ninguna tabla de la carpeta de trabajo ha cambiado</strong>: "
           "Tablexa sigue teniendo las mismas tablas que antes de exportar. Corrija el documento "
           "como indica el error y vuelva a exportar.</p>\n</div>\n";
}

// The table each section fills, and what its rows are.
struct SectionTable {
    std::string_view section, table, rows;
};
constexpr SectionTable kSectionTables[] = {{"MATERIAS", "ASIGNOMT", "asignaturas"},
                                           {"PROFESORES", "PROFT", "profesores"},
                                           {"AULAS", "AULAT", "aulas"},
                                           {"GRUPOS", "GRUPOST", "grupos"},
                                           {"ASIGNATURAS", "ASIGT", "clases de cada grupo"},
                                           {"TRAMOS", "DIASHORAST", "tramos horarios"}};

std::string emptySectionsBlock(const std::vector<std::string_view>& sections) {
    std::string out =
        "<div class=\"aviso\">\n<p><strong>El documento no trae todas las secciones.</strong> "
        "Estas tablas quedan vacías porque falta su sección:</p>\n<ul>\n";
    for (std::string_view section : sections)
        for (const SectionTable& entry : kSectionTables)
            if (entry.section == section)
                out += "<li>Sección <code>" + std::string(section) + "</code>: la tabla <code>" +
                       std::string(entry.table) + "</code> (" + std::string(entry.rows) +
                       ") queda sin filas.</li>\n";
    return out +
           "</ul>\n<p>Si no es lo que esperaba, compruebe que eligió el documento completo que "
           "exportó Delphos.</p>\n</div>\n";
}

// Where the tables this run replaced are kept, and the two ways back to them.
std::string earlierBlock(const ExportReportFacts& facts) {
    if (facts.earlierFiles.empty())
        return "<p class=\"datos\">Antes de esta exportación no había tablas en la carpeta de "
               "trabajo.</p>\n";
    const std::string folder = html::text(paths::toUtf8(facts.earlierFolder));
    const std::string work = html::text(paths::toUtf8(facts.workFolder));
    std::string files;
    for (std::size_t i = 0; i < facts.earlierFiles.size(); ++i) {
        if (i > 0) files += i + 1 == facts.earlierFiles.size() ? " y " : ", ";
        files += "<code>" + html::text(facts.earlierFiles[i]) + "</code>";
    }
    return "<div class=\"datos\">\n<p><strong>Las tablas que había antes se guardan</strong> en "
           "<code>" +
           folder +
           "</code>. Para volver a ellas, con Tablexa cerrado:</p>\n<ul>\n<li>con la orden "
           "<code>mirvane-cli restaurar --carpeta \"" +
           work + "\"</code>, que se deshace repitiéndola; o</li>\n<li>a mano: copie " + files +
           " de esa carpeta a <code>" + work +
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

std::string droppedSection(const std::vector<DroppedSubject>& dropped,
                           const ExportReportFacts& facts) {
    std::string out =
        html::sectionStart("descartadas", "Asignaturas descartadas por código repetido",
                           dropped.size()) +
        "<p>Tablexa no recibe estas asignaturas: su código repite, sin distinguir "
        "mayúsculas de minúsculas, el de una asignatura anterior, que es la que se "
        "conserva. Ninguno de sus datos pasa a las tablas.</p>\n" +
        html::tableStart({"Registro", "MATERIA", "Código", "Nombre", "Se conserva el registro",
                          "con el código"});
    for (const DroppedSubject& d : shown(dropped))
        out += html::row({std::to_string(d.record), html::value(d.materia), html::value(d.cod),
                          html::value(d.nombre), std::to_string(d.keptRecord),
                          html::value(d.keptCod)});
    return out + std::string(html::kTableEnd) + moreRows(dropped.size(), facts) +
           std::string(html::kSectionEnd);
}

std::string skippedSection(const std::vector<SkippedRecord>& skipped,
                           const ExportReportFacts& facts) {
    std::string out =
        html::sectionStart("omitidos", "Registros omitidos por tener menos de dos campos",
                           skipped.size()) +
        "<p>Estos registros no dan ninguna fila.</p>\n" +
        html::tableStart({"Sección", "Registro", "Campos"});
    for (const SkippedRecord& s : shown(skipped))
        out +=
            html::row({html::value(s.section), std::to_string(s.record), std::to_string(s.fields)});
    return out + std::string(html::kTableEnd) + moreRows(skipped.size(), facts) +
           std::string(html::kSectionEnd);
}

std::string cutSection(std::string_view anchor, std::string_view heading, std::string_view intro,
                       const std::vector<const CutValue*>& cuts, const ExportReportFacts& facts) {
    std::size_t rows = 0;
    for (const CutValue* cut : cuts) rows += cut->rows;
    std::string out = html::sectionStart(anchor, heading, cuts.size()) + "<p>" + html::text(intro) +
                      fmt::format(" {} {} en {} {}.", cuts.size(),
                                  cuts.size() == 1 ? "valor" : "valores distintos", rows,
                                  rows == 1 ? "fila" : "filas") +
                      "</p>\n" +
                      html::tableStart({"Tabla", "Campo", "Valor en el documento", "Guardado",
                                        "Filas", "Primer registro"});
    for (const CutValue* cut : shown(cuts))
        out += html::row({"<code>" + std::string(cut->table) + "</code>",
                          "<code>" + std::string(cut->field) + "</code>", html::value(cut->value),
                          html::value(cut->stored), std::to_string(cut->rows),
                          std::to_string(cut->firstRecord)});
    return out + std::string(html::kTableEnd) + moreRows(cuts.size(), facts) +
           std::string(html::kSectionEnd);
}

constexpr std::string_view kUnknownWeekday = "La letra del día no es ninguna de L M X J V S D";
constexpr std::string_view kSlotTextNotPlain =
    "El número del tramo no está escrito como la importación lo busca (por ejemplo, con un cero "
    "delante)";

std::string slotSection(const std::vector<UnreachableSlot>& slots, const ExportReportFacts& facts) {
    std::string out =
        html::sectionStart("tramos", "Tramos que la importación no encontrará", slots.size()) +
        "<p>La importación busca cada clase por la clave DIHO: el dígito del día seguido del "
        "número del tramo, sin ceros delante. Las clases en estos tramos llegarán a Delphos sin "
        "día ni tramo.</p>\n" +
        html::tableStart({"Registro", "Código del tramo", "DIHO guardado",
                          "Clave que buscará la importación", "Motivo"});
    for (const UnreachableSlot& s : shown(slots)) {
        const bool weekday = s.reason == UnreachableSlot::Reason::UnknownWeekday;
        out += html::row({std::to_string(s.record), html::value(s.slotCode), html::value(s.diho),
                          weekday ? std::string("—") : html::value(s.keySought),
                          html::text(weekday ? kUnknownWeekday : kSlotTextNotPlain)});
    }
    return out + std::string(html::kTableEnd) + moreRows(slots.size(), facts) +
           std::string(html::kSectionEnd);
}

}  // namespace

std::string exportReportPage(const ExportWarnings& warnings, const ExportReportFacts& facts) {
    std::vector<const CutValue*> matchCuts, otherCuts;
    for (const CutValue& cut : warnings.cutValues())
        (cut.matchField ? matchCuts : otherCuts).push_back(&cut);
    const std::size_t matchCutCount = matchCuts.size(), otherCutCount = otherCuts.size();

    std::string out =
        html::pageStart("Informe de exportación: " + paths::toUtf8(facts.document.filename())) +
        "<h1>Informe de exportación</h1>\n<p class=\"datos\">Documento: <code>" +
        html::text(paths::toUtf8(facts.document)) + "</code><br>Carpeta de trabajo: <code>" +
        html::text(paths::toUtf8(facts.workFolder)) + "</code></p>\n";
    if (facts.failure) {
        out += failureBlock(*facts.failure);
    } else {
        if (!facts.emptySections.empty()) out += emptySectionsBlock(facts.emptySections);
        out += earlierBlock(facts);
    }

    const std::size_t count = warnings.count();
    if (count == 0) {
        out += facts.failure ? "<p class=\"bien\">De lo que se llegó a exportar antes del error "
                               "no se ha perdido nada.</p>\n"
                             : "<p class=\"bien\">No se ha perdido nada: todo lo que trae el "
                               "documento ha llegado tal cual a las tablas de Tablexa.</p>\n";
        return out + html::pageEnd();
    }
    out += fmt::format(
        "<p class=\"nota\"><strong>{} {}.</strong> Lo que sigue no ha llegado "
        "fielmente a las tablas de Tablexa, o no volverá igual a Delphos; lo más "
        "grave, primero.</p>\n<ul>\n",
        count, count == 1 ? "aviso" : "avisos");
    const auto& dropped = warnings.droppedSubjects();
    const auto& skipped = warnings.skippedRecords();
    const auto& slots = warnings.unreachableSlots();
    if (!dropped.empty())
        out += html::summaryLine("descartadas", "Asignaturas descartadas", dropped.size());
    if (!skipped.empty())
        out += html::summaryLine("omitidos", "Registros omitidos", skipped.size());
    if (matchCutCount) out += html::summaryLine("claves", "Códigos recortados", matchCutCount);
    if (!slots.empty()) out += html::summaryLine("tramos", "Tramos inalcanzables", slots.size());
    if (otherCutCount) out += html::summaryLine("textos", "Otros textos recortados", otherCutCount);
    out += "</ul>\n";

    if (!dropped.empty()) out += droppedSection(dropped, facts);
    if (!skipped.empty()) out += skippedSection(skipped, facts);
    if (matchCutCount)
        out += cutSection("claves", "Códigos recortados que la importación no reconocerá",
                          "No caben en su campo y se guardan recortados. La importación busca "
                          "por estos campos, así que lo que dependa de ellos llegará a Delphos "
                          "vacío o equivocado.",
                          matchCuts, facts);
    if (!slots.empty()) out += slotSection(slots, facts);
    if (otherCutCount)
        out += cutSection("textos", "Otros textos recortados",
                          "No caben en su campo y se guardan recortados en las tablas de "
                          "Tablexa.",
                          otherCuts, facts);
    return out + html::pageEnd();
}

bool exportReportIsShortened(const ExportWarnings& warnings) {
    std::size_t matchCuts = 0;
    for (const CutValue& cut : warnings.cutValues()) matchCuts += cut.matchField;
    return std::max({warnings.droppedSubjects().size(), warnings.skippedRecords().size(),
                     warnings.unreachableSlots().size(), matchCuts,
                     warnings.cutValues().size() - matchCuts}) > kShownRows;
}

std::string exportWarningsCsv(const ExportWarnings& warnings) {
    std::string out(csv::kByteOrderMark);
    csv::appendRow(out, {"Aviso", "Registro", "Sección o tabla", "Campo", "Valor en el documento",
                         "Guardado", "Filas", "Detalle"});
    for (const DroppedSubject& d : warnings.droppedSubjects())
        csv::appendRow(
            out, {"Asignatura descartada", std::to_string(d.record), "ASIGNOMT", "COD",
                  text::toUtf8(d.cod), "", "",
                  "MATERIA " + text::toUtf8(d.materia) + ", nombre " + text::toUtf8(d.nombre) +
                      "; se conserva el registro " + std::to_string(d.keptRecord) +
                      ", con el código " + text::toUtf8(d.keptCod)});
    for (const SkippedRecord& s : warnings.skippedRecords())
        csv::appendRow(out, {"Registro omitido", std::to_string(s.record), text::toUtf8(s.section),
                             "", "", "", "", std::to_string(s.fields) + " campos"});
    for (bool match : {true, false})
        for (const CutValue& c : warnings.cutValues())
            if (c.matchField == match)
                csv::appendRow(
                    out, {match ? "Código recortado" : "Texto recortado",
                          std::to_string(c.firstRecord), c.table, c.field, text::toUtf8(c.value),
                          text::toUtf8(c.stored), std::to_string(c.rows), ""});
    for (const UnreachableSlot& s : warnings.unreachableSlots()) {
        const bool weekday = s.reason == UnreachableSlot::Reason::UnknownWeekday;
        csv::appendRow(out,
                       {"Tramo inalcanzable", std::to_string(s.record), "DIASHORAST", "DIHO",
                        text::toUtf8(s.slotCode), text::toUtf8(s.diho), "",
                        weekday ? std::string(kUnknownWeekday)
                                : std::string(kSlotTextNotPlain) + "; la importación buscará " +
                                      text::toUtf8(s.keySought)});
    }
    return out;
}

}  // namespace mirvane::report
