#include "dbf/reader.h"

#include "base/text.h"
#include "dbf/record.h"

namespace mirvane::dbf {
namespace {

// Cheap rather than thorough: a table has few fields, and a slot is
// confirmed by comparing the whole name.
std::size_t hashOf(std::string_view name) {
    if (name.empty()) return 0;
    const auto first = static_cast<unsigned char>(name.front());
    const auto last = static_cast<unsigned char>(name.back());
    return name.size() * 31 + first * 7 + last;
}

}  // namespace

StoredRows::StoredRows(std::string fileBytes, const std::filesystem::path& file)
    : layout_(parseLayout(fileBytes, file)),
      codePage_(layout_.languageDriver),
      held_(usableRecordCount(layout_, fileBytes, file)),
      count_(held_) {
    // Only the record area is kept; a header count smaller than the records
    // present rules, and whatever follows the last counted record is dropped.
    fileBytes.erase(0, layout_.headerLength);
    fileBytes.resize(std::size_t{count_} * layout_.recordLength);
    records_ = std::move(fileBytes);
    visible_.reserve(count_);
    for (std::uint32_t number = 0; number < count_; ++number)
        if (records_[std::size_t{number} * layout_.recordLength] != kDeletedFlag)
            visible_.push_back(number);
    blank_ = blankRecord(layout_);
    // A foreign table may hold two names equal but for letter case; the
    // first one is then the one found, which the slots could miss.
    const auto& fields = layout_.fields;
    for (std::size_t i = 0; i < fields.size(); ++i)
        for (std::size_t j = i + 1; j < fields.size(); ++j)
            if (text::equalsIgnoreCase(fields[i].name, fields[j].name)) return;
    std::size_t slots = 16;
    while (slots < 2 * fields.size()) slots *= 2;
    bySlot_.assign(slots, kNoField);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].type == '0') continue;
        std::size_t slot = hashOf(fields[i].name) & (slots - 1);
        while (bySlot_[slot] != kNoField) slot = (slot + 1) & (slots - 1);
        bySlot_[slot] = static_cast<std::uint16_t>(i);
    }
}

const FieldDescriptor* StoredRows::find(std::string_view name) const {
    // Fields are nearly always asked for by their names as stored.
    const auto& fields = layout_.fields;
    if (!bySlot_.empty()) {
        const std::size_t mask = bySlot_.size() - 1;
        for (std::size_t slot = hashOf(name) & mask; bySlot_[slot] != kNoField;
             slot = (slot + 1) & mask)
            if (fields[bySlot_[slot]].name == name) return &fields[bySlot_[slot]];
    }
    for (const FieldDescriptor& field : fields)
        if (field.type != '0' && text::equalsIgnoreCase(field.name, name)) return &field;
    return nullptr;
}

std::uint32_t StoredRows::append(std::string_view record) {
    last_.assign(record);
    visible_.push_back(count_);
    return count_++;
}

void StoredRows::holdAppended(std::string_view records) {
    if (count_ == held_) return;
    records_.append(records);
    records_.append(last_);
    held_ = count_;
}

}  // namespace mirvane::dbf
