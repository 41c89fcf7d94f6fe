#include "formats/exchange.h"

#include "base/text.h"

namespace mirvane::formats {

std::string sectionPath(std::string_view seq) {
    std::string path = "/";
    path.append(kRoot).append("/").append(kSalidas).append("/").append(kListasal);
    path.append("[@").append(kSeq).append("=\"").append(seq).append("\"]/").append(kListasal);
    return path;
}

xml::NodeList sectionRecords(const xml::Document& document, std::string_view seq) {
    return document.selectNodes(sectionPath(seq));
}

xml::NodeList recordFields(const xml::Node& record) {
    return record.selectNodes(kSalida);
}

std::string fieldValue(const xml::Node& field) {
    return text::fromUtf8(text::trim(field.text()));
}

std::optional<std::string> fieldLabel(const xml::Node& field) {
    auto label = field.attribute(kDato);
    if (!label) return std::nullopt;
    return text::fromUtf8(*label);
}

void appendField(xml::Document& document, xml::Node& parent, std::string_view label,
                 std::string_view value) {
    xml::Node field = document.createElement(kSalida);
    field.setAttribute(kDato, text::toUtf8(label));
    field.setText(text::toUtf8(value));
    parent.appendChild(field);
}

}  // namespace mirvane::formats
