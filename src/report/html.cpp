#include "report/html.h"

#include <algorithm>
#include <charconv>
#include <iterator>

#include <fmt/format.h>

#include "base/paths.h"
#include "base/text.h"

namespace mirvane::report::html {
namespace {

// Plain, printable and readable on any screen; marks for the three levels of
// harm: lost, wrong, worth knowing.
constexpr std::string_view kStyle = R"(
body { font-family: Segoe UI, Tahoma, Arial, sans-serif; margin: 2em auto; max-width: 70em;
       padding: 0 1em; color: #222; line-height: 1.4; }
h1 { font-size: 1.6em; margin-bottom: 0.2em; }
h2 { font-size: 1.25em; margin-top: 1.8em; border-bottom: 2px solid #ccc; }
h2 .cuenta { color: #555; font-weight: normal; }
.datos { color: #555; margin-top: 0; }
.aviso { border-left: 6px solid #c0392b; background: #fdecea; padding: 0.6em 1em; }
.bien { border-left: 6px solid #2e7d32; background: #e8f5e9; padding: 0.6em 1em; }
.nota { border-left: 6px solid #b7950b; background: #fef9e7; padding: 0.6em 1em; }
table { border-collapse: collapse; margin: 0.6em 0; }
th, td { border: 1px solid #bbb; padding: 0.2em 0.6em; text-align: left; vertical-align: top; }
th { background: #eee; }
td.n { text-align: right; }
code { font-family: Consolas, Courier New, monospace; background: #f4f4f4; padding: 0 0.2em;
       white-space: pre-wrap; }
.vacio { color: #999; font-style: italic; }
.falta { color: #c0392b; font-weight: bold; }
.claves { font-size: 0.9em; line-height: 1.6; max-height: 20em; overflow-y: auto; }
.claves code { white-space: nowrap; }
h3 { font-size: 1.05em; margin-bottom: 0.2em; }
h3 .cuenta { color: #555; font-weight: normal; }
.resumen { font-size: 1.1em; }
.causa { border-left: 3px solid #ccc; padding-left: 1em; margin: 1.2em 0; }
.clave { white-space: nowrap; }
.hacer { margin-left: 1em; }
.tecnico { font-size: 0.85em; color: #666; margin-left: 1em; }
.tecnico code { background: none; }
details > summary { cursor: pointer; font-weight: bold; }
@media print { .claves { max-height: none; overflow: visible; } }
)";

}  // namespace

void appendText(std::string& out, std::string_view utf8) {
    mirvane::text::appendEscapedMarkup(out, utf8);
}

void appendWindows1252Text(std::string& out, std::string_view cp1252) {
    // Converted and escaped in one pass: pages list tens of thousands of values.
    std::size_t start = 0;
    for (std::size_t i = 0; i < cp1252.size(); ++i) {
        if (static_cast<unsigned char>(cp1252[i]) < 0x80) continue;
        appendText(out, cp1252.substr(start, i - start));
        text::appendUtf8(out, text::codePointOf(cp1252[i]));
        start = i + 1;
    }
    appendText(out, cp1252.substr(start));
}

void appendValue(std::string& out, std::string_view cp1252) {
    // Blanks at the ends matter to a lookup, so they are kept in sight.
    if (cp1252.empty()) {
        out += "<span class=\"vacio\">(vacío)</span>";
        return;
    }
    out += "<code>";
    appendWindows1252Text(out, cp1252);
    out += "</code>";
}

void appendNumber(std::string& out, std::size_t number) {
    char digits[20];
    out.append(digits, std::to_chars(std::begin(digits), std::end(digits), number).ptr);
}

std::string text(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    appendText(out, utf8);
    return out;
}

std::string value(std::string_view cp1252) {
    std::string out;
    appendValue(out, cp1252);
    return out;
}

std::string pageStart(std::string_view titleUtf8, std::string_view extraStyle,
                      std::string_view extraHead) {
    return fmt::format(
        "<!DOCTYPE html>\n<html lang=\"es\">\n<head>\n<meta charset=\"utf-8\">\n{}"
        "<title>{}</title>\n<style>{}{}</style>\n</head>\n<body>\n",
        extraHead, text(titleUtf8), kStyle, extraStyle);
}

std::string pageEnd() {
    return "</body>\n</html>\n";
}

std::string sectionStart(std::string_view anchor, std::string_view headingUtf8, std::size_t count) {
    return fmt::format("<section id=\"{}\">\n<h2>{} <span class=\"cuenta\">({})</span></h2>\n",
                       anchor, text(headingUtf8), count);
}

std::string tableStart(std::initializer_list<std::string_view> headersUtf8) {
    std::string out = "<table><thead><tr>";
    for (std::string_view header : headersUtf8) out += "<th>" + text(header) + "</th>";
    return out + "</tr></thead><tbody>\n";
}

std::string row(std::initializer_list<std::string> cells) {
    std::string out = "<tr>";
    for (const std::string& cell : cells) out += "<td>" + cell + "</td>";
    return out + "</tr>\n";
}

std::string percentEncoded(std::string_view utf8, std::string_view kept) {
    std::string out;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
            (byte >= '0' && byte <= '9') || kept.find(c) != std::string_view::npos)
            out += c;
        else
            out += fmt::format("%{:02X}", byte);
    }
    return out;
}

std::string fileHref(const std::filesystem::path& page, const std::filesystem::path& target,
                     std::string_view fragment) {
    // The unreserved characters and the path's separators stay as they are.
    constexpr std::string_view kKept = "-._~/:";
    std::string href;
    if (page.parent_path() == target.parent_path()) {
        href = percentEncoded(paths::toUtf8(target.filename()), kKept);
    } else {
        std::string where = paths::toUtf8(target);
        std::replace(where.begin(), where.end(), '\\', '/');
        if (target.is_absolute()) {
            if (!where.starts_with('/')) where.insert(0, "/");  // C:/ gives file:///C:/
            where.insert(0, "file://");
        }
        href = percentEncoded(where, kKept);
    }
    if (!fragment.empty()) href += "#" + std::string(fragment);
    return href;
}

std::string fileLink(const std::filesystem::path& page, const std::filesystem::path& target,
                     std::string_view labelUtf8, std::string_view fragment) {
    return fmt::format("<a href=\"{}\">{}</a>", fileHref(page, target, fragment), text(labelUtf8));
}

std::string summaryLine(std::string_view anchor, std::string_view labelUtf8, std::size_t count) {
    return fmt::format("<li><a href=\"#{}\">{}</a>: {}</li>\n", anchor, text(labelUtf8), count);
}

std::string whatToDo(std::string_view html) {
    return fmt::format("<p class=\"hacer\"><strong>Qué hacer:</strong> {}</p>\n", html);
}

std::string technical(std::string_view html) {
    return fmt::format("<p class=\"tecnico\">Detalle técnico: {}</p>\n", html);
}

}  // namespace mirvane::report::html
