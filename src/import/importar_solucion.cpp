#include "import/importar_solucion.h"

#include <string>
#include <unordered_set>
#include <vector>

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

// Leaves SOLUC on the first of the rows whose PROF is `abrev`, through the
// filter PROF= 'value', every single quote inside the value doubled.
void selectLessonsOf(dbf::Table& soluc, std::string_view abrev) {
    std::string expression = "PROF= '";
    for (char c : abrev) {
        if (c == '\'') expression += '\'';
        expression += c;
    }
    soluc.setFiltered(false);
    soluc.setFilter(expression + "'");
    soluc.setFiltered(true);
}

// A lesson as resolved, kept until its teacher's record is complete.
struct ResolvedLesson {
    std::size_t number = 0;  // ACTIVIDAD_n
    ActivityCheck check;
    ResolvedCodes codes;
};

void startRecord(xml::StreamedSave& result, std::string_view prefix, std::int32_t number) {
    result.start(formats::kListasal, formats::kSeq, std::string(prefix) + std::to_string(number));
}

// The lessons of SOLUC whose PROF is no teacher's ABREV: no teacher's filter
// selects them, so they never reach the result document. Found through the
// filter on PROF, whose index the build makes anyway. Both tables are left
// for the build to position again.
void tellLessonsWithoutTeacher(dbf::Table& soluc, dbf::Table& proft, ImportObserver& observer) {
    std::unordered_set<std::string> abrevs;
    for (proft.first(); !proft.eof(); proft.next())
        abrevs.insert(proft.asText(formats::proft::kAbrev));
    const dbf::Column dia(soluc, formats::soluc::kDia);
    for (const std::string& prof : soluc.filterValues(formats::soluc::kProf)) {
        if (abrevs.contains(prof)) continue;
        for (selectLessonsOf(soluc, prof); !soluc.eof(); soluc.next()) {
            // A DIA the build could not read fails there, not here.
            std::int32_t day = 0;
            const std::string text = dia.text();
            if (text::isBlank(text) || (text::tryToInt(text, day) && day == 0)) continue;
            observer.lessonWithoutTeacher(prof);
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
                                      ImportObserver* observer) {
    IndexedLookups lookups(tables, observer);
    return ImportarSolucion(document, elegido, tables, lookups, observer);
}

ResultadoImportacion ImportarSolucion(xml::Document& document, const std::filesystem::path& elegido,
                                      formats::WorkTableComponents& tables, Lookups& lookups,
                                      ImportObserver* observer) {
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
        if (observer) {
            observer->expectLessons(soluc.recordCount());
            tellLessonsWithoutTeacher(soluc, proft, *observer);
        }
        const SolucColumns solucColumns(soluc);
        // The current teacher's lessons, told once the teacher's record is
        // written: told one at a time between the build's own steps, they
        // cost the import on the stress school 3 % more (the two took turns
        // in the processor's caches). Their room is kept for the next teacher.
        std::vector<ResolvedLesson> lessons;

        std::int32_t profesor = 1;
        for (proft.first(); !proft.eof(); proft.next()) {
            if (observer)
                observer->beginTeacher(
                    {proft.asText(formats::proft::kXEmpleado), proft.asText(formats::proft::kAbrev),
                     proft.asText(formats::proft::kNombre)},
                    static_cast<std::size_t>(profesor));
            startRecord(result, formats::kEmpleadoPrefix, profesor++);
            formats::writeField(result, formats::kXEmpleado,
                                proft.asText(formats::proft::kXEmpleado));
            formats::writeField(result, formats::kFTomapos,
                                proft.asText(formats::proft::kFTomapos));
            ++resultado.profesores;

            soluc.first();
            std::int32_t actividad = 1;
            std::size_t resolved = 0;
            selectLessonsOf(soluc, proft.asText(formats::proft::kAbrev));
            for (; !soluc.eof(); soluc.next()) {
                if (solucColumns.dia.integer() == 0) {  // not placed: no activity
                    if (observer)
                        observer->unplacedLesson({solucColumns.tarea.text(),
                                                  solucColumns.asig.text(),
                                                  solucColumns.codgrupo.text()});
                    continue;
                }
                const std::int32_t number = actividad++;
                if (resolved == lessons.size()) lessons.emplace_back();
                ResolvedLesson& lesson = lessons[resolved++];
                lesson.number = static_cast<std::size_t>(number);
                startRecord(result, formats::kActividadPrefix, number);
                ResolverActividad(result, solucColumns, lookups, lesson.check, lesson.codes);
                result.end();
                ++resultado.actividades;
            }
            result.end();
            if (observer)
                for (std::size_t i = 0; i < resolved; ++i)
                    observer->lesson(lessons[i].number, lessons[i].check, lessons[i].codes);
        }
        tables.closeAll();
    }

    result.end();
    result.commit();
    return resultado;
}

}  // namespace mirvane::importing
