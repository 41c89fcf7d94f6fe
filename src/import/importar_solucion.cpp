#include "import/importar_solucion.h"

#include <string>
#include <unordered_set>

#include "base/error.h"
#include "base/paths.h"
#include "base/text.h"
#include "formats/exchange.h"
#include "import/indexed_lookups.h"
#include "import/resolver_actividad.h"

namespace mirvane::importing {
namespace {

[[noreturn]] void failNotExchange(const std::filesystem::path& elegido, std::string_view fault) {
    fail("El archivo " + paths::toUtf8(elegido.filename()) +
         " no es un documento de intercambio de Delphos: " + std::string(fault) +
         ". Elija el archivo XML que envió Delphos.");
}

// Takes out the root's SALIDAS with everything under it, freed at once; the
// new one is written in its place as the root's last child.
void removeSalidas(xml::Document& document, const std::filesystem::path& elegido) {
    xml::Node root = document.documentElement();
    if (!root) failNotExchange(elegido, "no tiene elemento raíz");
    xml::Node old = root.selectSingleNode(formats::kSalidas);
    if (!old) failNotExchange(elegido, "le falta el elemento SALIDAS");
    root.deleteChild(old);
}

void writeStatus(xml::StreamedSave& result) {
    result.start(formats::kErrorElement);
    formats::writeField(result, formats::kCnError, "0");
    formats::writeField(result, formats::kTeError, "Servicio finalizado Correctamente");
    result.end();
}

// PROF= 'value' with every single quote inside the value doubled.
std::string profFilter(std::string_view abrev) {
    std::string expression = "PROF= '";
    for (char c : abrev) {
        if (c == '\'') expression += '\'';
        expression += c;
    }
    return expression + "'";
}

void startRecord(xml::StreamedSave& result, std::string_view prefix, std::int32_t number) {
    result.start(formats::kListasal, formats::kSeq, std::string(prefix) + std::to_string(number));
}

// The lessons of SOLUC whose PROF is no teacher's ABREV: no teacher's filter
// selects them, so they never reach the result document. Found through the
// filter on PROF, whose index the build makes anyway. Both tables are left
// for the build to position again.
void recordLessonsWithoutTeacher(dbf::Table& soluc, dbf::Table& proft,
                                 report::ImportWarnings& warnings) {
    std::unordered_set<std::string> abrevs;
    for (proft.first(); !proft.eof(); proft.next())
        abrevs.insert(proft.asText(formats::proft::kAbrev));
    const dbf::Column dia(soluc, formats::soluc::kDia);
    for (const std::string& prof : soluc.filterValues(formats::soluc::kProf)) {
        if (abrevs.contains(prof)) continue;
        soluc.setFiltered(false);
        soluc.setFilter(profFilter(prof));
        soluc.setFiltered(true);
        for (; !soluc.eof(); soluc.next()) {
            // A DIA the build could not read fails there, not here.
            std::int32_t day = 0;
            const std::string text = dia.text();
            if (text::isBlank(text) || (text::tryToInt(text, day) && day == 0)) continue;
            warnings.lessonWithoutTeacher(prof);
        }
    }
}

}  // namespace

std::filesystem::path archivoResultado(const std::filesystem::path& elegido) {
    return elegido.parent_path() /
           paths::fromUtf8(std::string(kPrefijoResultado) + paths::toUtf8(elegido.filename()));
}

ResultadoImportacion ImportarSolucion(xml::Document& document, const std::filesystem::path& elegido,
                                      formats::WorkTableComponents& tables,
                                      report::ImportWarnings* warnings,
                                      report::Timetable* timetable) {
    IndexedLookups lookups(tables);
    if (timetable) lookups.gatherNames(timetable->names());
    return ImportarSolucion(document, elegido, tables, lookups, warnings, timetable);
}

ResultadoImportacion ImportarSolucion(xml::Document& document, const std::filesystem::path& elegido,
                                      formats::WorkTableComponents& tables, Lookups& lookups,
                                      report::ImportWarnings* warnings,
                                      report::Timetable* timetable) {
    ResultadoImportacion resultado;
    removeSalidas(document, elegido);
    resultado.archivo = archivoResultado(elegido);
    xml::StreamedSave result(document, resultado.archivo);
    result.start(formats::kSalidas);
    writeStatus(result);

    {
        formats::WorkTableComponents::ClosedOnExit closer(tables);
        dbf::Table& soluc = tables.wwTableSoluc;
        dbf::Table& proft = tables.wwTableProfesor;
        for (dbf::Table* table : {&soluc, &tables.wwTableGrupos, &proft, &tables.wwTableAulas,
                                  &tables.wwTableNomAsg, &tables.wwTableTramos})
            table->open();
        if (warnings) recordLessonsWithoutTeacher(soluc, proft, *warnings);
        const SolucColumns solucColumns(soluc);
        // Without a timetable the keys are read whole only for the lessons
        // the report shows.
        const KeysKept kept = timetable  ? KeysKept::All
                              : warnings ? KeysKept::Missed
                                         : KeysKept::None;

        std::int32_t profesor = 1;
        for (proft.first(); !proft.eof(); proft.next()) {
            if (warnings || timetable) {
                report::Teacher teacher{proft.asText(formats::proft::kXEmpleado),
                                        proft.asText(formats::proft::kAbrev),
                                        proft.asText(formats::proft::kNombre)};
                if (timetable) timetable->beginTeacher(teacher, static_cast<std::size_t>(profesor));
                if (warnings)
                    warnings->beginTeacher(std::move(teacher), static_cast<std::size_t>(profesor));
            }
            startRecord(result, formats::kEmpleadoPrefix, profesor++);
            formats::writeField(result, formats::kXEmpleado,
                                proft.asText(formats::proft::kXEmpleado));
            formats::writeField(result, formats::kFTomapos,
                                proft.asText(formats::proft::kFTomapos));
            ++resultado.profesores;

            soluc.first();
            soluc.setFiltered(false);
            soluc.setFilter(profFilter(proft.asText(formats::proft::kAbrev)));
            soluc.setFiltered(true);
            std::int32_t actividad = 1;
            for (; !soluc.eof(); soluc.next()) {
                if (solucColumns.dia.integer() == 0) {  // not a lesson
                    if (warnings) warnings->skippedDayZero();
                    continue;
                }
                const std::int32_t number = actividad++;
                startRecord(result, formats::kActividadPrefix, number);
                report::ResolvedCodes codes;
                report::ActivityCheck check = ResolverActividad(result, solucColumns, lookups, kept,
                                                                timetable ? &codes : nullptr);
                result.end();
                if (timetable)
                    timetable->lesson(static_cast<std::size_t>(number), check, std::move(codes));
                if (warnings)
                    warnings->activity(static_cast<std::size_t>(number), std::move(check));
                ++resultado.actividades;
            }
            result.end();
        }
        tables.closeAll();
    }

    result.end();
    result.commit();
    return resultado;
}

}  // namespace mirvane::importing
