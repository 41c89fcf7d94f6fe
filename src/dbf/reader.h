#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "dbf/codepage.h"
#include "dbf/field.h"
#include "dbf/header.h"

// The rows of one table in memory: the file is read once, validated, and
// every later read is a look-up in these bytes. Of the rows appended after,
// which go to the file, only the last is kept; the table reads the others
// back from the file when a scan reaches them (holdAppended).
namespace mirvane::dbf {

class StoredRows {
  public:
    StoredRows() = default;
    // `fileBytes`: the whole table file. Raises the engine's error naming
    // `file` when the bytes are not a table this engine reads.
    StoredRows(std::string fileBytes, const std::filesystem::path& file);

    const Layout& layout() const { return layout_; }
    // Record numbers of the rows not deleted, in stored order.
    const std::vector<std::uint32_t>& visible() const { return visible_; }
    std::uint32_t size() const { return count_; }
    // Whether record `number` is here to read: every record up to held(),
    // and the last one.
    bool holds(std::uint32_t number) const { return number < held_ || number + 1 == count_; }
    std::uint32_t held() const { return held_; }
    // A record held.
    std::string_view record(std::uint32_t number) const {
        if (number >= held_) return last_;
        return std::string_view(records_).substr(std::size_t{number} * layout_.recordLength,
                                                 layout_.recordLength);
    }
    // A record with every field empty.
    const std::string& blank() const { return blank_; }

    // The field of that name, letter case aside; null when the table lacks it.
    const FieldDescriptor* find(std::string_view name) const;
    FieldValue value(const FieldDescriptor& field, std::string_view record) const {
        return FieldValue(layout_, field, record, codePage_);
    }

    // A new row after the others, kept until the next; returns its record number.
    std::uint32_t append(std::string_view record);
    // The appended records between held() and the last, as read back from
    // the file: every record is held then.
    void holdAppended(std::string_view records);

  private:
    Layout layout_;
    CodePage codePage_;
    std::string records_;  // the records before held_
    std::uint32_t held_ = 0;
    std::string last_;  // the last record, when appended after held_
    std::uint32_t count_ = 0;
    std::vector<std::uint32_t> visible_;
    std::string blank_;
    // The fields by a hash of their names as stored (open addressing, a
    // power of two of slots), so that a name given as stored is found at
    // once; empty when two names are equal but for letter case.
    static constexpr std::uint16_t kNoField = 0xFFFF;
    std::vector<std::uint16_t> bySlot_;
};

}  // namespace mirvane::dbf
