#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "xml/document.h"
#include "xml/records.h"
#include "xml/streamed_save.h"

// The conventions of the exchange document and of the result document: the
// sections and their paths, the field labels, and how a field node's content
// becomes a field value (Windows-1252) and back.
namespace mirvane::formats {

// Element and attribute names.
inline constexpr std::string_view kRoot = "SERVICIO";
inline constexpr std::string_view kSalidas = "SALIDAS";
inline constexpr std::string_view kListasal = "listasal";
inline constexpr std::string_view kSeq = "seq";
inline constexpr std::string_view kSalida = "salida";
inline constexpr std::string_view kDato = "dato";
inline constexpr std::string_view kErrorElement = "ERROR";

// Sections read by the export run, by their seq.
inline constexpr std::string_view kMaterias = "MATERIAS";
inline constexpr std::string_view kProfesores = "PROFESORES";
inline constexpr std::string_view kAulas = "AULAS";
inline constexpr std::string_view kGrupos = "GRUPOS";
inline constexpr std::string_view kAsignaturas = "ASIGNATURAS";
inline constexpr std::string_view kTramos = "TRAMOS";
inline constexpr std::string_view kExportSections[] = {kMaterias, kProfesores,  kAulas,
                                                       kGrupos,   kAsignaturas, kTramos};

// Labels read by name in "TRAMOS" records.
inline constexpr std::string_view kCodigoDelphos = "CODIGO_DELPHOS";
inline constexpr std::string_view kNombre = "NOMBRE";
inline constexpr std::string_view kDia = "DIA";
inline constexpr std::string_view kInicio = "INICIO";
inline constexpr std::string_view kFin = "FIN";
inline constexpr std::string_view kMinutos = "MINUTOS";

// Labels written into the result document.
inline constexpr std::string_view kCnError = "CN_ERROR";
inline constexpr std::string_view kTeError = "TE_ERROR";
inline constexpr std::string_view kXEmpleado = "X_EMPLEADO";
inline constexpr std::string_view kFTomapos = "F_TOMAPOS";
inline constexpr std::string_view kXActividad = "X_ACTIVIDAD";
inline constexpr std::string_view kNDiasemana = "N_DIASEMANA";
inline constexpr std::string_view kXTramo = "X_TRAMO";
inline constexpr std::string_view kXDepcentro = "X_DEPCENTRO";
inline constexpr std::string_view kXUnidad = "X_UNIDAD";
inline constexpr std::string_view kXMateriaomc = "X_MATERIAOMC";
inline constexpr std::string_view kEmpleadoPrefix = "EMPLEADO_";
inline constexpr std::string_view kActividadPrefix = "ACTIVIDAD_";

// /SERVICIO/SALIDAS/listasal[@seq="SEQ"]/listasal: the records of a section,
// from every section element that carries that seq, in document order.
std::string sectionPath(std::string_view seq);

// A record of a section: its field values ("salida" children) by position.
using Record = xml::Records::Record;

// The records of one section, from every section element that carries its seq.
class SectionRecords {
  public:
    SectionRecords(const xml::Records& records, std::size_t section)
        : records_(records), section_(section) {}
    std::size_t length() const { return records_.count(section_); }
    Record item(std::size_t index) const { return records_.record(section_, index); }

  private:
    const xml::Records& records_;
    std::size_t section_;
};

// What the export reads of an exchange document: the records of its six
// sections (the labels of "TRAMOS" too), read in one pass over the document,
// which is not kept. Raises the load's errors for a document that cannot be
// read or is not well-formed.
class ExchangeRecords {
  public:
    static ExchangeRecords read(const std::filesystem::path& file);
    // The same from bytes; `name` stands for the file in messages.
    static ExchangeRecords readMemory(std::string_view bytes, const std::string& name);

    // The records of the section `seq`, one of the six the export reads.
    SectionRecords section(std::string_view seq) const;

    // The sections of the six without a record, in the order the export
    // writes their tables: all six when the document is no exchange document.
    std::vector<std::string_view> emptySections() const;

  private:
    explicit ExchangeRecords(xml::Records records) : records_(std::move(records)) {}
    xml::Records records_;
};

// A field's value: its text trimmed of codes 32 and below at both ends, in
// Windows-1252. An element with no text gives the empty value.
std::string fieldValue(const Record& record, std::size_t k);

// A field's label (read only in "TRAMOS"): its "dato" attribute as written,
// in Windows-1252; nothing when it has none.
std::optional<std::string> fieldLabel(const Record& record, std::size_t k);

// A task subject: a Delphos subject code whose first character is the
// capital letter "G" (a lower-case g does not count).
inline bool isTaskSubject(std::string_view code) {
    return !code.empty() && code.front() == 'G';
}

// The task code of every assignment whose subject is not a task (CTAREA).
inline constexpr std::string_view kNotATask = "LE";

// The level stored for an empty level value, in GRUPOST and ASIGT.
inline constexpr std::string_view kEmptyLevel = "NIV";
inline std::string levelOrNiv(std::string_view level) {
    return std::string(level.empty() ? kEmptyLevel : level);
}

// Writes <salida dato="label">value</salida> into the element open in
// `result`; the value (Windows-1252) is written as read, without trimming.
void writeField(xml::StreamedSave& result, std::string_view label, std::string_view value);

}  // namespace mirvane::formats
