#pragma once

#include <optional>
#include <string>
#include <string_view>

// The questions an activity asks of the work tables. Every answer is the one
// a scan from the first row in stored order would give: the first row whose
// match fields equal the keys exactly (the texts as the engine reads them,
// case-sensitive, untrimmed) gives its value fields; no match gives nothing.
namespace mirvane::importing {

// A time slot of DIASHORAST: its weekday and its Delphos code.
struct Tramo {
    std::string dia;      // DIA
    std::string coddiho;  // CODDIHO
    bool operator==(const Tramo&) const = default;
};

class Lookups {
  public:
    virtual ~Lookups() = default;

    // ASIGNOMT: MATERIA of the first row whose COD equals `cod`.
    virtual std::optional<std::string> materiaDeCodigo(std::string_view cod) = 0;

    // DIASHORAST: DIA and CODDIHO of the first row whose DIHO equals `diho`.
    virtual std::optional<Tramo> tramo(std::string_view diho) = 0;

    // AULAT: DEPCENTRO of the first row whose ABREV equals `abrev`.
    virtual std::optional<std::string> depcentro(std::string_view abrev) = 0;

    // GRUPOST: UNIDAD of the first row whose ABREV equals `abrev`.
    virtual std::optional<std::string> unidad(std::string_view abrev) = 0;

    // ASIGT, by subject and group: MATERIA of the first row with CASIG and
    // CGRUP equal to the keys, blank or not.
    virtual std::optional<std::string> materiaPorGrupo(std::string_view casig,
                                                       std::string_view cgrup) = 0;

    // ASIGT, by subject, level and year: among the rows with CASIG, NIVEL and
    // CURSO equal to the keys, the MATERIA of the first whose MATERIA is not
    // blank; when all of them are blank, the MATERIA of the last of them.
    virtual std::optional<std::string> materiaPorNivel(std::string_view casig,
                                                       std::string_view nivel,
                                                       std::string_view curso) = 0;
};

}  // namespace mirvane::importing
