#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/text.h"
#include "formats/work_tables.h"
#include "import/lookups.h"

// The lookups as plain scans, one full pass from the first row for every
// question: the reference the indexed lookups must agree with.
namespace mirvane::testing {

class PlainScanLookups : public importing::Lookups {
  public:
    explicit PlainScanLookups(formats::WorkTableComponents& tables) : tables_(tables) {}

    std::optional<std::string> materiaDeCodigo(std::string_view cod) override {
        dbf::Table& t = tables_.wwTableNomAsg;
        for (t.first(); !t.eof(); t.next())
            if (t.asText("COD") == cod) return t.asText("MATERIA");
        return std::nullopt;
    }

    std::optional<importing::Tramo> tramo(std::string_view diho) override {
        dbf::Table& t = tables_.wwTableTramos;
        for (t.first(); !t.eof(); t.next())
            if (t.asText("DIHO") == diho)
                return importing::Tramo{t.asText("DIA"), t.asText("CODDIHO")};
        return std::nullopt;
    }

    std::optional<std::string> depcentro(std::string_view abrev) override {
        dbf::Table& t = tables_.wwTableAulas;
        for (t.first(); !t.eof(); t.next())
            if (t.asText("ABREV") == abrev) return t.asText("DEPCENTRO");
        return std::nullopt;
    }

    std::optional<std::string> unidad(std::string_view abrev) override {
        dbf::Table& t = tables_.wwTableGrupos;
        for (t.first(); !t.eof(); t.next())
            if (t.asText("ABREV") == abrev) return t.asText("UNIDAD");
        return std::nullopt;
    }

    std::optional<std::string> materiaPorGrupo(std::string_view casig,
                                               std::string_view cgrup) override {
        dbf::Table& t = tables_.wwTableAsig;
        t.open();
        for (t.first(); !t.eof(); t.next())
            if (t.asText("CASIG") == casig && t.asText("CGRUP") == cgrup)
                return t.asText("MATERIA");
        return std::nullopt;
    }

    // Every matching row sets the value; the first non-blank one ends the search.
    std::optional<std::string> materiaPorNivel(std::string_view casig, std::string_view nivel,
                                               std::string_view curso) override {
        dbf::Table& t = tables_.wwTableAsig;
        std::optional<std::string> value;
        for (t.first(); !t.eof(); t.next()) {
            if (t.asText("CASIG") == casig && t.asText("NIVEL") == nivel &&
                t.asText("CURSO") == curso) {
                value = t.asText("MATERIA");
                if (!text::isBlank(*value)) break;
            }
        }
        return value;
    }

  private:
    formats::WorkTableComponents& tables_;
};

}  // namespace mirvane::testing
