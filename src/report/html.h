#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

// The pieces of the report pages: one self-contained HTML file in UTF-8, its
// style inline, nothing fetched from outside, so it reads the same offline.
namespace mirvane::report::html {

// A Windows-1252 value (a code or name of the school) as HTML text in UTF-8.
std::string value(std::string_view cp1252);
// A UTF-8 text (one of ours, or an error message) as HTML text.
std::string text(std::string_view utf8);
// The same, appended: for pages of thousands of rows.
void appendValue(std::string& out, std::string_view cp1252);
void appendText(std::string& out, std::string_view utf8);
// A Windows-1252 text (a name) as HTML text, without value's marks.
void appendWindows1252Text(std::string& out, std::string_view cp1252);
// A count, in digits.
void appendNumber(std::string& out, std::size_t number);

// The page up to the opening of its body, and its end.
// `extraStyle`: rules of the page's own, after the common ones; `extraHead`:
// elements of its own in the head, before the title.
std::string pageStart(std::string_view titleUtf8, std::string_view extraStyle = {},
                      std::string_view extraHead = {});
std::string pageEnd();

// A section with its heading, counted, and an anchor for the summary's link.
std::string sectionStart(std::string_view anchor, std::string_view headingUtf8, std::size_t count);
inline constexpr std::string_view kSectionEnd = "</section>\n";

// A table: its header row from plain texts, and rows of cells already HTML.
std::string tableStart(std::initializer_list<std::string_view> headersUtf8);
std::string row(std::initializer_list<std::string> cells);
inline constexpr std::string_view kTableEnd = "</tbody></table>\n";

// `utf8` with every byte but ASCII letters, digits and those in `kept`
// written as %XX: a part of an address.
std::string percentEncoded(std::string_view utf8, std::string_view kept);

// The address of the file `target` from the page at `page`: its bare name
// when both are in one folder, so that the pair can be moved or mailed
// together. `fragment`, already encoded, names a place in the target.
std::string fileHref(const std::filesystem::path& page, const std::filesystem::path& target,
                     std::string_view fragment = {});
// A link there, labelled with a plain text.
std::string fileLink(const std::filesystem::path& page, const std::filesystem::path& target,
                     std::string_view labelUtf8, std::string_view fragment = {});

// A link in the summary to a section, with its count.
std::string summaryLine(std::string_view anchor, std::string_view labelUtf8, std::size_t count);

// The two lines that close what a page says of a problem, from HTML already
// made: what the reader can do about it, and, smaller, the tables and fields
// concerned, for whoever must look inside the files.
std::string whatToDo(std::string_view html);
std::string technical(std::string_view html);

}  // namespace mirvane::report::html
