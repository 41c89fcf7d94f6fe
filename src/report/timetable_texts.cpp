#include "report/timetable_texts.h"

#include <algorithm>
#include <charconv>
#include <iterator>

#include "base/text.h"

namespace mirvane::report {

namespace json {
namespace {

void appendCharacter(std::string& out, char32_t c) {
    if (c == '"' || c == '\\') {
        out += '\\';
        out += static_cast<char>(c);
    } else if (c < 0x20 || c == '<') {
        static constexpr char kHex[] = "0123456789abcdef";
        out += "\\u00";
        out += kHex[c >> 4];
        out += kHex[c & 0xF];
    } else {
        text::appendUtf8(out, c);
    }
}

}  // namespace

void appendString(std::string& out, std::string_view cp1252) {
    out += '"';
    // Most texts are codes and plain names: their runs of printable ASCII,
    // the same in UTF-8, go in at once.
    auto plain = [](char c) { return c >= 0x20 && c < 0x7F && c != '"' && c != '\\' && c != '<'; };
    while (!cp1252.empty()) {
        const auto run = static_cast<std::size_t>(
            std::find_if_not(cp1252.begin(), cp1252.end(), plain) - cp1252.begin());
        out.append(cp1252.substr(0, run));
        if (run < cp1252.size()) appendCharacter(out, text::codePointOf(cp1252[run]));
        cp1252.remove_prefix(std::min(run + 1, cp1252.size()));
    }
    out += '"';
}

void appendUtf8String(std::string& out, std::string_view utf8) {
    out += '"';
    while (!utf8.empty()) {
        const text::Decoded decoded = text::decodeUtf8(utf8);
        appendCharacter(out, decoded.codePoint == text::kMalformed || decoded.length == 0
                                 ? text::kReplacement
                                 : decoded.codePoint);
        utf8.remove_prefix(std::clamp<std::size_t>(decoded.length, 1, utf8.size()));
    }
    out += '"';
}

void appendInteger(std::string& out, std::int64_t n) {
    char digits[20];
    out.append(digits, std::to_chars(std::begin(digits), std::end(digits), n).ptr);
}

}  // namespace json

std::uint32_t PageTexts::text(const std::string& cp1252) {
    auto [at, added] = others_.try_emplace(cp1252, kNone);
    if (added) at->second = add(at->first);
    return at->second;
}

void PageTexts::write(PieceBuffer& buffer) const {
    std::string& out = buffer.text();
    out += '[';
    for (std::size_t i = 0; i < texts_.size(); ++i) {
        if (i) out += ',';
        json::appendString(out, *texts_[i]);
        buffer.pass();
    }
    out += ']';
}

}  // namespace mirvane::report
