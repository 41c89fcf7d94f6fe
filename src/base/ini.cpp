#include "base/ini.h"

#include <string>
#include <vector>

#include "base/paths.h"
#include "base/safe_file.h"
#include "base/text.h"

namespace mirvane::ini {
namespace {

// The line editing works on code units: bytes for a single-byte file,
// char16_t for a UTF-16 one. Everything it looks for ('[', ']', '=', ';',
// blanks and line breaks) has the same value in both.
template <typename Unit>
using Text = std::basic_string<Unit>;
template <typename Unit>
using View = std::basic_string_view<Unit>;

char upper(char c) {
    return text::toUpper(c);
}

// The letters of the Latin-1 range, as the single-byte side folds them.
char16_t upper(char16_t c) {
    if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 32);
    return c;
}

template <typename Unit>
bool equalsIgnoreCase(View<Unit> a, View<Unit> b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i])) return false;
    return true;
}

// Drops the units with codes 32 and below at both ends.
template <typename Unit>
View<Unit> trim(View<Unit> value) {
    auto blank = [](Unit unit) { return static_cast<std::uint32_t>(unit) <= 32; };
    while (!value.empty() && blank(value.front())) value.remove_prefix(1);
    while (!value.empty() && blank(value.back())) value.remove_suffix(1);
    return value;
}

struct Line {
    std::size_t begin;  // offset of the first unit
    std::size_t end;    // offset past the line's text, before its line break
    std::size_t next;   // offset of the following line
};

template <typename Unit>
std::vector<Line> splitLines(View<Unit> contents) {
    std::vector<Line> lines;
    std::size_t begin = 0;
    while (begin < contents.size()) {
        std::size_t end = contents.find(Unit('\n'), begin);
        const std::size_t next = end == View<Unit>::npos ? contents.size() : end + 1;
        if (end == View<Unit>::npos) end = contents.size();
        std::size_t textEnd = end;
        if (textEnd > begin && contents[textEnd - 1] == Unit('\r')) --textEnd;
        lines.push_back({begin, textEnd, next});
        begin = next;
    }
    return lines;
}

// The name of a "[name]" line, or false when the line is not a section header.
template <typename Unit>
bool sectionName(View<Unit> line, View<Unit>& name) {
    line = trim(line);
    if (line.empty() || line.front() != Unit('[')) return false;
    const std::size_t close = line.find(Unit(']'));
    if (close == View<Unit>::npos) return false;
    name = trim(line.substr(1, close - 1));
    return true;
}

template <typename Unit>
bool isEntry(View<Unit> line) {
    line = trim(line);
    return !line.empty() && line.front() != Unit(';');
}

// The key of a "key=value" line.
template <typename Unit>
View<Unit> keyOf(View<Unit> line) {
    const std::size_t equals = line.find(Unit('='));
    return trim(equals == View<Unit>::npos ? line : line.substr(0, equals));
}

template <typename Unit>
Text<Unit> withEntry(View<Unit> contents, View<Unit> section, View<Unit> key, View<Unit> value) {
    const Unit crlf[] = {Unit('\r'), Unit('\n'), Unit(0)};
    const Text<Unit> eol =
        contents.find(crlf) != View<Unit>::npos || contents.find(Unit('\n')) == View<Unit>::npos
            ? Text<Unit>(crlf)
            : Text<Unit>(1, Unit('\n'));
    const Text<Unit> entry = Text<Unit>(key) + Unit('=') + Text<Unit>(value);
    const std::vector<Line> lines = splitLines(contents);

    auto textOf = [&](const Line& line) {
        return contents.substr(line.begin, line.end - line.begin);
    };

    std::size_t index = 0;
    for (; index < lines.size(); ++index) {
        View<Unit> name;
        if (sectionName(textOf(lines[index]), name) && equalsIgnoreCase(name, section)) break;
    }

    Text<Unit> result;
    if (index == lines.size()) {
        // A new section at the end of the file.
        result.assign(contents);
        if (!result.empty() && result.back() != Unit('\n')) result += eol;
        result += Unit('[');
        result += section;
        result += Unit(']');
        result += eol + entry + eol;
        return result;
    }

    std::size_t insertAt = lines[index].next;  // after the header when the section is empty
    bool lineEndsFile = lines[index].next == contents.size();
    for (std::size_t i = index + 1; i < lines.size(); ++i) {
        const View<Unit> line = textOf(lines[i]);
        View<Unit> name;
        if (sectionName(line, name)) break;
        if (!isEntry(line)) continue;
        if (equalsIgnoreCase(keyOf(line), key)) {
            // Replace the line's text, keeping the key as written and the line break.
            result.assign(contents.substr(0, lines[i].begin));
            result += keyOf(line);
            result += Unit('=');
            result += value;
            result.append(contents.substr(lines[i].end));
            return result;
        }
        insertAt = lines[i].next;
        lineEndsFile = lines[i].next == contents.size();
    }

    result.assign(contents.substr(0, insertAt));
    if (lineEndsFile && !result.empty() && result.back() != Unit('\n')) result += eol;
    result += entry + eol;
    result.append(contents.substr(insertAt));
    return result;
}

// UTF-16 code units from bytes and back, in the file's byte order.
enum class ByteOrder { Little, Big };

std::u16string unitsOf(std::string_view bytes, ByteOrder order) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        units += order == ByteOrder::Little ? static_cast<char16_t>(first | second << 8)
                                            : static_cast<char16_t>(first << 8 | second);
    }
    return units;
}

std::string bytesOf(std::u16string_view units, ByteOrder order) {
    std::string bytes;
    bytes.reserve(units.size() * 2);
    for (const char16_t unit : units) {
        const char low = static_cast<char>(unit & 0xFF);
        const char high = static_cast<char>(unit >> 8);
        bytes += order == ByteOrder::Little ? low : high;
        bytes += order == ByteOrder::Little ? high : low;
    }
    return bytes;
}

std::string editUtf16(std::string_view contents, std::string_view mark, ByteOrder order,
                      std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view body = contents.substr(mark.size());
    const std::u16string edited = withEntry<char16_t>(unitsOf(body, order), text::toUtf16(section),
                                                      text::toUtf16(key), text::toUtf16(value));
    // An odd last byte is no whole unit: it stays at the end, as found.
    const std::string_view oddByte = body.substr(body.size() - body.size() % 2);
    return std::string(mark) + bytesOf(edited, order) + std::string(oddByte);
}

constexpr std::string_view kUtf16LittleMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigMark = "\xFE\xFF";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

}  // namespace

std::string withInteger(std::string_view contents, std::string_view section, std::string_view key,
                        std::int32_t value) {
    const std::string number = std::to_string(value);
    if (contents.starts_with(kUtf16LittleMark))
        return editUtf16(contents, kUtf16LittleMark, ByteOrder::Little, section, key, number);
    if (contents.starts_with(kUtf16BigMark))
        return editUtf16(contents, kUtf16BigMark, ByteOrder::Big, section, key, number);
    if (contents.starts_with(kUtf8Mark)) {
        const std::string utf8Section = text::toUtf8(section);
        const std::string utf8Key = text::toUtf8(key);
        return std::string(kUtf8Mark) +
               withEntry<char>(contents.substr(kUtf8Mark.size()), utf8Section, utf8Key, number);
    }
    return withEntry<char>(contents, section, key, number);
}

void writeInteger(const std::filesystem::path& file, std::string_view section, std::string_view key,
                  std::int32_t value) {
    std::string contents;
    if (paths::kindOf(file) != os::Kind::Missing) contents = readWholeFile(file);
    saveFileSafely(file, withInteger(contents, section, key, value));
}

}  // namespace mirvane::ini
