#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Records read from a document in one pass, without building it: for each
// wanted section, the records that the path
//   /ROOT/CONTAINER/SECTION[@KEY="value"]/RECORD
// selects, in document order, and of each record its FIELD children, each
// with its text content (the concatenated text of the element and its
// descendants, as the DOM gives it) and, where asked, its LABEL attribute.
// Nothing else of the document is kept. Texts are UTF-8, as libxml2 gives
// them. The load's protections, encodings and messages are the DOM's.
namespace mirvane::xml {

struct RecordPath {
    std::string_view root;       // the document element
    std::string_view container;  // its children holding the sections
    std::string_view section;    // a section element, named by `key`
    std::string_view key;        // the section's naming attribute
    std::string_view record;     // a record: a child of a section
    std::string_view field;      // a field: a child of a record
    std::string_view label;      // a field's naming attribute
};

// A section to collect: its `key` value, and whether its fields' labels count.
struct WantedSection {
    std::string_view value;
    bool labels = false;
};

class Records {
  public:
    class Record {
      public:
        std::size_t fields() const { return count_; }
        std::string_view text(std::size_t k) const;
        // Only for a section whose labels were asked for: nothing when the
        // field has no such attribute.
        std::optional<std::string_view> label(std::size_t k) const;

      private:
        friend class Records;
        Record(const Records& records, std::uint32_t first, std::uint32_t count,
               std::uint32_t firstLabel)
            : records_(&records), first_(first), count_(count), firstLabel_(firstLabel) {}
        const Records* records_;
        std::uint32_t first_;
        std::uint32_t count_;
        std::uint32_t firstLabel_;  // kNone when the section keeps no labels
    };

    // The records of the wanted section at `section` (its place in the list
    // given to the read).
    std::size_t count(std::size_t section) const { return sections_.at(section).records.size(); }
    Record record(std::size_t section, std::size_t index) const;

  private:
    friend class RecordCollector;

    static constexpr std::uint32_t kNone = UINT32_MAX;
    struct Span {
        std::uint32_t begin;  // kNone: no label
        std::uint32_t end;
    };
    struct RecordSpan {
        std::uint32_t first;  // into ends_
        std::uint32_t count;
    };
    struct Section {
        std::deque<RecordSpan> records;  // grown without copies
        // Only for a section whose labels are kept: each record's first
        // label, into labels_.
        std::vector<std::uint32_t> firstLabels;
    };

    // The field texts, one after the other: field f is bytes_[ends_[f - 1],
    // ends_[f]) (from 0 for the first). 4 bytes a field beside its text.
    std::string bytes_;
    std::vector<std::uint32_t> ends_;
    // The labels, of the sections that keep them only: one span for each of
    // their fields, in order, into labelBytes_.
    std::string labelBytes_;
    std::vector<Span> labels_;
    std::vector<Section> sections_;
};

// Reads `file` (or `bytes`, with `name` standing for the file in messages).
// Raises as Document::load does, with the same messages, for a file that is
// missing, cannot be read, is empty or is not a well-formed document.
Records readRecords(const std::filesystem::path& file, const RecordPath& path,
                    const std::vector<WantedSection>& wanted);
Records readRecordsMemory(std::string_view bytes, const std::string& name, const RecordPath& path,
                          const std::vector<WantedSection>& wanted);

}  // namespace mirvane::xml
