#include "formats/exchange.h"

#include "base/error.h"
#include "base/text.h"

namespace mirvane::formats {

std::string sectionPath(std::string_view seq) {
    std::string path = "/";
    path.append(kRoot).append("/").append(kSalidas).append("/").append(kListasal);
    path.append("[@").append(kSeq).append("=\"").append(seq).append("\"]/").append(kListasal);
    return path;
}

namespace {

const xml::RecordPath kRecordPath{kRoot, kSalidas, kListasal, kSeq, kListasal, kSalida, kDato};

// The sections in the order kept; only TRAMOS names its fields by label.
const std::vector<xml::WantedSection> kSections = {{kMaterias}, {kProfesores},  {kAulas},
                                                   {kGrupos},   {kAsignaturas}, {kTramos, true}};

}  // namespace

ExchangeRecords ExchangeRecords::read(const std::filesystem::path& file) {
    return ExchangeRecords(xml::readRecords(file, kRecordPath, kSections));
}

ExchangeRecords ExchangeRecords::readMemory(std::string_view bytes, const std::string& name) {
    return ExchangeRecords(xml::readRecordsMemory(bytes, name, kRecordPath, kSections));
}

SectionRecords ExchangeRecords::section(std::string_view seq) const {
    for (std::size_t i = 0; i < kSections.size(); ++i)
        if (kSections[i].value == seq) return SectionRecords(records_, i);
    fail("La sección " + std::string(seq) + " no es de las que lee la exportación");
}

std::vector<std::string_view> ExchangeRecords::emptySections() const {
    std::vector<std::string_view> empty;
    for (std::string_view seq : kExportSections)
        if (section(seq).length() == 0) empty.push_back(seq);
    return empty;
}

std::string fieldValue(const Record& record, std::size_t k) {
    return text::fromUtf8(text::trim(record.text(k)));
}

std::optional<std::string> fieldLabel(const Record& record, std::size_t k) {
    const auto label = record.label(k);
    if (!label) return std::nullopt;
    return text::fromUtf8(*label);
}

void writeField(xml::StreamedSave& result, std::string_view label, std::string_view value) {
    result.start(kSalida, kDato, text::toUtf8(label));
    result.text(text::toUtf8(value));
    result.end();
}

}  // namespace mirvane::formats
