#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The table filter in the one form the program uses: a field, "=", and a
// value in single quotes with inner quotes doubled (PROF= 'O''NEIL'). A row
// matches when the field's text equals the value exactly, letter case
// included; no value is ever taken as a prefix.
namespace mirvane::dbf {

struct FilterCondition {
    std::string field;
    std::string value;
};

// The condition of an expression; none for an empty one. A malformed
// expression raises an error quoting it.
std::optional<FilterCondition> parseFilter(std::string_view expression);

// The rows of an open table grouped by the text of one field, built on the
// first filter over that field and kept while the table does not change, so
// that filtering per teacher costs one look-up.
class FilterIndex {
  public:
    using TextOf = std::function<std::string(std::uint32_t record)>;

    // The rows among `rows` (in their order) whose field reads as `value`.
    const std::vector<std::uint32_t>& matches(std::string_view field, const std::string& value,
                                              const std::vector<std::uint32_t>& rows,
                                              const TextOf& textOf);
    // Every text the field reads as among `rows`, each once, in no set order.
    std::vector<std::string> values(std::string_view field, const std::vector<std::uint32_t>& rows,
                                    const TextOf& textOf);
    void clear();

  private:
    void build(std::string_view field, const std::vector<std::uint32_t>& rows,
               const TextOf& textOf);

    std::string field_;
    bool built_ = false;
    std::unordered_map<std::string, std::vector<std::uint32_t>> rowsByText_;
    std::vector<std::uint32_t> none_;
};

}  // namespace mirvane::dbf
