#pragma once

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "formats/work_tables.h"
#include "import/importar_solucion.h"
#include "plain_scan.h"
#include "result_outline.h"
#include "support/testing.h"
#include "work_folder.h"
#include "xml/document.h"

namespace mirvane::testing {

// An exchange document as Delphos sends it, with something before and after SALIDAS.
inline constexpr std::string_view kDocumento =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
    "<SERVICIO><CABECERA>Instituto</CABECERA><SALIDAS><listasal seq=\"MATERIAS\"><listasal>"
    "<salida dato=\"CODIGO\">viejo</salida></listasal></listasal></SALIDAS></SERVICIO>\n";

// A work folder, a folder for the chosen document, and the build between them.
class ImportTest : public ::testing::Test {
  public:
    // With the program's lookups, or with plain scans (the reference).
    enum class LookupKind { Indexed, PlainScan };

  protected:
    ImportTest() { writeDocument(kDocumento); }

    void writeDocument(std::string_view text) { writeFile(chosen, text); }

    importing::ResultadoImportacion importar(LookupKind kind = LookupKind::Indexed) {
        xml::Document document;
        document.load(chosen);
        formats::WorkTableComponents tables(work.path());
        if (kind == LookupKind::Indexed)
            return importing::ImportarSolucion(document, chosen, tables);
        PlainScanLookups scans(tables);
        return importing::ImportarSolucion(document, chosen, tables, scans);
    }

    std::filesystem::path result() const { return docs / "ResultadoVorsadatos.xml"; }

    WorkFolder work;
    TempDir docs;
    std::filesystem::path chosen = docs / "datos.xml";
};

}  // namespace mirvane::testing
