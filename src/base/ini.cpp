#include "base/ini.h"

#include <string>
#include <vector>

#include "base/paths.h"
#include "base/safe_file.h"
#include "base/text.h"

namespace mirvane::ini {
namespace {

struct Line {
    std::size_t begin;  // offset of the first character
    std::size_t end;    // offset past the line's text, before its line break
    std::size_t next;   // offset of the following line
};

std::vector<Line> splitLines(std::string_view contents) {
    std::vector<Line> lines;
    std::size_t begin = 0;
    while (begin < contents.size()) {
        std::size_t end = contents.find('\n', begin);
        const std::size_t next = end == std::string_view::npos ? contents.size() : end + 1;
        if (end == std::string_view::npos) end = contents.size();
        std::size_t textEnd = end;
        if (textEnd > begin && contents[textEnd - 1] == '\r') --textEnd;
        lines.push_back({begin, textEnd, next});
        begin = next;
    }
    return lines;
}

// The name of a "[name]" line, or nothing when the line is not a section header.
bool sectionName(std::string_view line, std::string_view& name) {
    line = text::trim(line);
    if (line.empty() || line.front() != '[') return false;
    const std::size_t close = line.find(']');
    if (close == std::string_view::npos) return false;
    name = text::trim(line.substr(1, close - 1));
    return true;
}

bool isEntry(std::string_view line) {
    line = text::trim(line);
    return !line.empty() && line.front() != ';';
}

// The key of a "key=value" line.
std::string_view keyOf(std::string_view line) {
    const std::size_t equals = line.find('=');
    return text::trim(equals == std::string_view::npos ? line : line.substr(0, equals));
}

}  // namespace

std::string withInteger(std::string_view contents, std::string_view section, std::string_view key,
                        std::int32_t value) {
    const std::string eol = contents.find("\r\n") != std::string_view::npos ||
                                    contents.find('\n') == std::string_view::npos
                                ? "\r\n"
                                : "\n";
    const std::string entry = std::string(key) + "=" + std::to_string(value);
    const std::vector<Line> lines = splitLines(contents);

    auto textOf = [&](const Line& line) {
        return contents.substr(line.begin, line.end - line.begin);
    };

    std::size_t index = 0;
    for (; index < lines.size(); ++index) {
        std::string_view name;
        if (sectionName(textOf(lines[index]), name) && text::equalsIgnoreCase(name, section)) break;
    }

    std::string result;
    if (index == lines.size()) {
        // A new section at the end of the file.
        result.assign(contents);
        if (!result.empty() && result.back() != '\n') result += eol;
        result += "[" + std::string(section) + "]" + eol + entry + eol;
        return result;
    }

    std::size_t insertAt = lines[index].next;  // after the header when the section is empty
    bool lineEndsFile = lines[index].next == contents.size();
    for (std::size_t i = index + 1; i < lines.size(); ++i) {
        const std::string_view line = textOf(lines[i]);
        std::string_view name;
        if (sectionName(line, name)) break;
        if (!isEntry(line)) continue;
        if (text::equalsIgnoreCase(keyOf(line), key)) {
            // Replace the line's text, keeping its line break.
            result.assign(contents.substr(0, lines[i].begin));
            result += std::string(keyOf(line)) + "=" + std::to_string(value);
            result.append(contents.substr(lines[i].end));
            return result;
        }
        insertAt = lines[i].next;
        lineEndsFile = lines[i].next == contents.size();
    }

    result.assign(contents.substr(0, insertAt));
    if (lineEndsFile && !result.empty() && result.back() != '\n') result += eol;
    result += entry + eol;
    result.append(contents.substr(insertAt));
    return result;
}

void writeInteger(const std::filesystem::path& file, std::string_view section, std::string_view key,
                  std::int32_t value) {
    std::string contents;
    if (paths::kindOf(file) != os::Kind::Missing) contents = readWholeFile(file);
    saveFileSafely(file, withInteger(contents, section, key, value));
}

}  // namespace mirvane::ini
