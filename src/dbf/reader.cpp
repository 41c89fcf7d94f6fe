#include "dbf/reader.h"

#include "base/text.h"
#include "dbf/record.h"

namespace mirvane::dbf {

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
    // first one is then the one found, which the guess below could miss.
    const auto& fields = layout_.fields;
    for (std::size_t i = 0; i < fields.size() && guessNext_; ++i)
        for (std::size_t j = i + 1; j < fields.size() && guessNext_; ++j)
            if (text::equalsIgnoreCase(fields[i].name, fields[j].name)) guessNext_ = false;
}

const FieldDescriptor* StoredRows::find(std::string_view name) const {
    // Rows are filled and read field after field, by the names as stored,
    // some fields skipped: the fields after the last one found are tried
    // first, for that name exactly.
    const auto& fields = layout_.fields;
    if (guessNext_)
        for (std::size_t tried = 1, i = lastFound_; tried <= fields.size(); ++tried) {
            i = i + 1 < fields.size() ? i + 1 : 0;
            if (fields[i].type != '0' && fields[i].name == name) {
                lastFound_ = i;
                return &fields[i];
            }
        }
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].type != '0' && text::equalsIgnoreCase(fields[i].name, name)) {
            lastFound_ = i;
            return &fields[i];
        }
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
