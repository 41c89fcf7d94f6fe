#pragma once

#include <filesystem>
#include <string>

#include "xml/document.h"

// The result document as an indented outline, one line per element below the
// root, in document order: an element shows its seq (or its name) and then
// its field nodes as label=text; records nest below their parent.
//   CABECERA
//   SALIDAS
//     ERROR CN_ERROR=0 TE_ERROR=Servicio finalizado Correctamente
//     EMPLEADO_1 X_EMPLEADO=E1 F_TOMAPOS=2020
//       ACTIVIDAD_1 X_ACTIVIDAD=M1 N_DIASEMANA=1 ...
namespace mirvane::testing {

inline void describe(const xml::Node& element, int depth, std::string& out) {
    out.append(2 * depth, ' ');
    out += element.attribute("seq").value_or(element.name());
    const xml::NodeList children = element.selectNodes("*");
    std::string nested;
    for (std::size_t i = 0; i < children.length(); ++i) {
        const xml::Node child = children.item(i);
        if (child.name() != "salida") {
            describe(child, depth + 1, nested);
        } else {
            if (!nested.empty()) out += " [field after a record:]";
            out += " " + child.attribute("dato").value_or("?") + "=" + child.text();
        }
    }
    out += "\n" + nested;
}

inline std::string outline(const xml::Document& document) {
    std::string out;
    const xml::NodeList children = document.documentElement().selectNodes("*");
    for (std::size_t i = 0; i < children.length(); ++i) describe(children.item(i), 0, out);
    return out;
}

inline std::string outline(const std::filesystem::path& file) {
    xml::Document document;
    document.load(file);
    return outline(document);
}

}  // namespace mirvane::testing
