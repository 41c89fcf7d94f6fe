#include "dbf/reader.h"

#include "base/text.h"
#include "dbf/record.h"

namespace mirvane::dbf {

StoredRows::StoredRows(std::string fileBytes, const std::filesystem::path& file)
    : layout_(parseLayout(fileBytes, file)),
      codePage_(layout_.languageDriver),
      count_(usableRecordCount(layout_, fileBytes, file)) {
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
}

const FieldDescriptor* StoredRows::find(std::string_view name) const {
    for (const FieldDescriptor& field : layout_.fields)
        if (field.type != '0' && text::equalsIgnoreCase(field.name, name)) return &field;
    return nullptr;
}

std::uint32_t StoredRows::append(std::string_view record) {
    records_.append(record);
    visible_.push_back(count_);
    return count_++;
}

}  // namespace mirvane::dbf
