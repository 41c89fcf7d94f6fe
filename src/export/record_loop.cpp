#include "export/record_loop.h"

#include <fmt/format.h>

#include "base/error.h"
#include "base/text.h"
#include "formats/exchange.h"

namespace mirvane::exporting {

std::size_t writeRecords(const formats::ExchangeRecords& exchange,
                         const std::filesystem::path& folder, const SectionWrite& write,
                         const RowRule& rule) {
    // The table is created before the document is read, so a missing section
    // still leaves an empty table with all its fields.
    dbf::Table table;
    formats::replaceTable(table, folder, write.table);
    ExportObserver* const warnings = write.warnings;
    if (warnings) warnings->beginTable(write.table.name);

    const formats::SectionRecords records = exchange.section(write.section);
    table.open();
    std::size_t rows = 0;
    for (std::size_t i = 0; i < records.length(); ++i) {
        const formats::Record record = records.item(i);
        if (record.fields() < 2) {
            if (warnings) warnings->skippedRecord(write.section, i, record.fields());
            continue;
        }
        if (record.fields() < write.positions)
            failRecord(write.section, i, tooFewFields(record.fields(), write.positions));

        const Values values = readValues(record, write.positions);
        if (rule.accept && !rule.accept(values, i)) continue;
        table.append();
        Row row(table, write.table, warnings, write.section, i);
        rule.fill(row, values);
        table.post();
        if (warnings) warnings->rowPosted();
        ++rows;
    }
    table.close();
    return rows;
}

Values readValues(const formats::Record& record, std::size_t count) {
    Values values;
    values.reserve(count);
    for (std::size_t k = 0; k < count; ++k) values.push_back(formats::fieldValue(record, k));
    return values;
}

std::int32_t recordInteger(std::string_view value, const ValuePlace& place) {
    std::int32_t result = 0;
    if (!text::tryToInt(value, result)) failNotInteger(value, place);
    return result;
}

void failNotInteger(std::string_view value, const ValuePlace& place) {
    fail(fmt::format(
        "{}. Está en el registro {} de la sección {}, campo {}, {}", text::notIntegerMessage(value),
        place.index + 1, place.section, place.field,
        value.empty() ? std::string("que está vacío") : "valor «" + text::toUtf8(value) + "»"));
}

void failRecord(std::string_view section, std::size_t index, std::string_view problem) {
    fail(fmt::format("El registro {} de la sección {} {}", index + 1, section, problem));
}

std::string tooFewFields(std::size_t found, std::size_t expected) {
    return fmt::format("tiene {} {}; se esperan {}", found, found == 1 ? "campo" : "campos",
                       expected);
}

}  // namespace mirvane::exporting
