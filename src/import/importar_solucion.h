#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "formats/work_tables.h"
#include "import/import_observer.h"
#include "import/lookups.h"
#include "xml/document.h"

namespace mirvane::importing {

// The prefix of the result document's file name.
inline constexpr std::string_view kPrefijoResultado = "ResultadoVorsa";

// What a build wrote.
struct ResultadoImportacion {
    std::int32_t profesores = 0;    // teacher records (EMPLEADO_n)
    std::int64_t actividades = 0;   // activity records (ACTIVIDAD_n) of all teachers
    std::filesystem::path archivo;  // the result document
};

// The result document's path: "ResultadoVorsa" followed by the chosen file's
// name, in the chosen file's folder (datos.xml gives ResultadoVorsadatos.xml).
std::filesystem::path archivoResultado(const std::filesystem::path& elegido);

// Turns the loaded exchange document into the result document in place: a
// new SALIDAS, the root's last child, holds the status block and one
// EMPLEADO_n record per PROFT row with one ACTIVIDAD_n record per lesson of
// SOLUC; the rest of the document stays as it was. Then saves it as
// archivoResultado(elegido), in one step: a failed build leaves no file and
// an earlier result as it was. The chosen file itself is never written.
// Every table the build opened is closed when it ends, on every path. Given
// an observer, tells it what it finds as it goes (see ImportObserver); the
// document is the same either way.
ResultadoImportacion ImportarSolucion(xml::Document& document, const std::filesystem::path& elegido,
                                      formats::WorkTableComponents& tables,
                                      ImportObserver* observer = nullptr);

// The same with the lookups given (the tests compare answers from scans).
ResultadoImportacion ImportarSolucion(xml::Document& document, const std::filesystem::path& elegido,
                                      formats::WorkTableComponents& tables, Lookups& lookups,
                                      ImportObserver* observer = nullptr);

}  // namespace mirvane::importing
