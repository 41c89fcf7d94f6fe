#include "dbf/filter.h"

#include "base/error.h"
#include "base/text.h"

namespace mirvane::dbf {
namespace {

[[noreturn]] void failMalformed(std::string_view expression) {
    fail("El filtro " + text::toUtf8(expression) + " no es válido: se esperaba CAMPO= 'valor'.");
}

bool isNameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

std::optional<FilterCondition> parseFilter(std::string_view expression) {
    if (text::isBlank(expression)) return std::nullopt;
    std::size_t pos = 0;
    const auto skipBlanks = [&] {
        while (pos < expression.size() && expression[pos] == ' ') ++pos;
    };
    skipBlanks();
    const std::size_t nameStart = pos;
    while (pos < expression.size() && isNameCharacter(expression[pos])) ++pos;
    FilterCondition condition;
    condition.field = std::string(expression.substr(nameStart, pos - nameStart));
    skipBlanks();
    if (condition.field.empty() || pos >= expression.size() || expression[pos] != '=')
        failMalformed(expression);
    ++pos;
    skipBlanks();
    if (pos >= expression.size() || expression[pos] != '\'') failMalformed(expression);
    ++pos;
    for (;;) {
        if (pos >= expression.size()) failMalformed(expression);  // no closing quote
        const char c = expression[pos++];
        if (c != '\'') {
            condition.value += c;
        } else if (pos < expression.size() && expression[pos] == '\'') {
            condition.value += '\'';
            ++pos;
        } else {
            break;
        }
    }
    skipBlanks();
    if (pos != expression.size()) failMalformed(expression);
    return condition;
}

const std::vector<std::uint32_t>& FilterIndex::matches(std::string_view field,
                                                       const std::string& value,
                                                       const std::vector<std::uint32_t>& rows,
                                                       const TextOf& textOf) {
    build(field, rows, textOf);
    const auto found = rowsByText_.find(value);
    return found == rowsByText_.end() ? none_ : found->second;
}

std::vector<std::string> FilterIndex::values(std::string_view field,
                                             const std::vector<std::uint32_t>& rows,
                                             const TextOf& textOf) {
    build(field, rows, textOf);
    std::vector<std::string> texts;
    texts.reserve(rowsByText_.size());
    for (const auto& [text, matching] : rowsByText_) texts.push_back(text);
    return texts;
}

void FilterIndex::build(std::string_view field, const std::vector<std::uint32_t>& rows,
                        const TextOf& textOf) {
    if (built_ && field_ == field) return;
    rowsByText_.clear();
    for (std::uint32_t record : rows) rowsByText_[textOf(record)].push_back(record);
    field_ = std::string(field);
    built_ = true;
}

void FilterIndex::clear() {
    built_ = false;
    rowsByText_.clear();
}

}  // namespace mirvane::dbf
