#include "export/exportar_tramos.h"

#include <fmt/format.h>

#include "base/error.h"
#include "base/text.h"
#include "export/record_loop.h"
#include "export/tramos.h"
#include "formats/exchange.h"
#include "formats/work_tables.h"

namespace mirvane::exporting {
namespace {

// The slot text of a slot code through the conversion, or its error saying
// where the code is.
std::int32_t slotNumberText(std::string_view slotCode, ValuePlace place) {
    if (!slotCode.empty()) place.field += " (código del tramo «" + text::toUtf8(slotCode) + "»)";
    return recordInteger(slotText(slotCode), place);
}

// Both passes read positions 1 and 2 of every record.
constexpr std::size_t kMinimumFields = 3;

// The values the row pass takes from a record, by their labels.
struct SlotRecord {
    std::string slotCode;   // "NOMBRE" or "DIA", whichever comes last
    std::string slotLabel;  // which of the two
    std::string minutes;    // "MINUTOS"
    std::string codigoDelphos;
};

// The slot number of a record, which must have an entry in the slot tables.
// `field` is where the record has its slot code.
int slotNumber(std::string_view slotCode, std::size_t index, std::string field) {
    const std::int32_t slot = slotNumberText(slotCode, {formats::kTramos, index, std::move(field)});
    if (slot < 1 || slot > kSlots)
        failRecord(
            formats::kTramos, index,
            fmt::format("tiene el número de tramo {}; debe estar entre 1 y {}", slot, kSlots));
    return slot;
}

SlotTimes mondayScan(const formats::SectionRecords& records) {
    SlotTimes times;
    for (std::size_t i = 0; i < records.length(); ++i) {
        const formats::Record record = records.item(i);
        if (record.fields() < kMinimumFields)
            failRecord(formats::kTramos, i, tooFewFields(record.fields(), kMinimumFields));
        const std::string slotCode = formats::fieldValue(record, 1);
        const std::string minutes = formats::fieldValue(record, 2);
        // Every record's slot text must convert, whatever its weekday.
        const std::int32_t slot = slotNumberText(slotCode, {formats::kTramos, i, "2"});
        if (slot > 0 && isMonday(slotCode))
            times.addMonday(slotNumber(slotCode, i, "2"), minutes, i);
    }
    return times;
}

SlotRecord readByLabels(const formats::Record& record, std::size_t index) {
    SlotRecord values;
    for (std::size_t k = 0; k < record.fields(); ++k) {
        const auto label = formats::fieldLabel(record, k);
        if (!label)
            failRecord(formats::kTramos, index,
                       fmt::format("tiene el campo {} sin etiqueta \"{}\"", k + 1, formats::kDato));
        if (*label == formats::kNombre || *label == formats::kDia) {
            values.slotCode = formats::fieldValue(record, k);
            values.slotLabel = *label;
        } else if (*label == formats::kMinutos)
            values.minutes = formats::fieldValue(record, k);
        else if (*label == formats::kCodigoDelphos)
            values.codigoDelphos = formats::fieldValue(record, k);
        // INICIO and FIN are recognised but unused: the times come from the chain.
    }
    return values;
}

// A slot the import cannot find again: its weekday letter has no digit, or
// its slot text is not the number as the import writes it (L03 gives 103,
// while the import looks for 13).
void checkSlotKey(ExportObserver& warnings, const SlotRecord& record, int slot,
                  const std::string& diho, std::size_t index) {
    using Reason = UnreachableSlot::Reason;
    const std::string day = weekdayDigit(record.slotCode);
    if (record.slotCode.empty() || !isWeekdayLetter(record.slotCode.front()))
        warnings.unreachableSlot({Reason::UnknownWeekday, index + 1, record.slotCode, diho, {}});
    else if (const std::string sought = day + std::to_string(slot); sought != diho)
        warnings.unreachableSlot(
            {Reason::SlotTextNotPlain, index + 1, record.slotCode, diho, sought});
}

void writeRow(dbf::Table& table, const SlotRecord& record, int slotNumber, const std::string& start,
              ExportObserver* warnings, std::size_t index) {
    namespace field = formats::diashorast;
    const std::string_view slot = slotText(record.slotCode);
    // A slot that Monday lacks has no start time.
    if (start.empty())
        fail(
            fmt::format("{}. El registro {} de la sección {} es del tramo {}, que el lunes no "
                        "tiene, y su hora de inicio sale del lunes",
                        text::notIntegerMessage(""), index + 1, formats::kTramos, slotNumber));
    const std::string end = FormatoHora(
        minutesOf(start) +
        recordInteger(record.minutes, {formats::kTramos, index, std::string(formats::kMinutos)}));
    const std::string day = weekdayDigit(record.slotCode);
    const std::string diho = day + std::string(slot);
    if (warnings) checkSlotKey(*warnings, record, slotNumber, diho, index);
    table.append();
    Row row(table, formats::kDiashorast, warnings, formats::kTramos, index);
    row.setText(field::kDiho, diho);
    row.setText(field::kCoddiho, record.codigoDelphos);
    row.setText(field::kDia, day);
    row.setText(field::kHora, slot);
    row.setText(field::kTextohor, std::string(slot) + "-" + start + "-" + end);
    row.setText(field::kHoradesde, start);
    row.setText(field::kHorahasta, end);
    row.setText(field::kMinutos, record.minutes);
    row.setText(field::kMarco, "0");
    table.post();
    if (warnings) warnings->rowPosted();
}

}  // namespace

std::string askStartHour(StartHourPrompt& prompt) {
    const auto dialog = prompt.createDialog();
    for (;;) {
        const std::string time(copyText(dialog->showAndRead(), 1, 5));
        if (text::toInt(copyText(time, 1, 2)) > 23) continue;
        if (text::toInt(copyText(time, 4, 2)) > 59) continue;
        return time;
    }
}

std::size_t ExportarTramos(const formats::ExchangeRecords& exchange,
                           const std::filesystem::path& folder, StartHourPrompt& prompt,
                           ExportObserver* warnings) {
    dbf::Table table;
    formats::replaceTable(table, folder, formats::kDiashorast);
    if (warnings) warnings->beginTable(formats::kDiashorast.name);
    const std::string firstStart = askStartHour(prompt);

    const formats::SectionRecords records = exchange.section(formats::kTramos);
    SlotTimes times = mondayScan(records);
    times.chain(firstStart);

    table.open();
    for (std::size_t i = 0; i < records.length(); ++i) {
        const SlotRecord record = readByLabels(records.item(i), i);
        const int slot =
            slotNumber(record.slotCode, i,
                       record.slotLabel.empty() ? std::string(formats::kNombre) : record.slotLabel);
        writeRow(table, record, slot, times.InicioTramo[static_cast<std::size_t>(slot)], warnings,
                 i);
    }
    table.close();
    return records.length();
}

}  // namespace mirvane::exporting
