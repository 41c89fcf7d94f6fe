// The XML loader on any bytes: every input either loads or raises
// mirvane::Error; a loaded document is walked the way the runs walk it, and
// its SALIDAS taken out the way the import takes it out.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/error.h"
#include "xml/document.h"

namespace {

void walk(const mirvane::xml::Node& node, int depth) {
    if (depth > 64) return;
    (void)node.name();
    (void)node.text();
    (void)node.attribute("dato");
    (void)node.attribute("seq");
    const mirvane::xml::NodeList fields = node.selectNodes("salida");
    for (std::size_t i = 0; i < fields.length(); ++i) (void)fields.item(i).text();
    const mirvane::xml::NodeList children = node.selectNodes("*");
    for (std::size_t i = 0; i < children.length() && i < 64; ++i) walk(children.item(i), depth + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace mirvane;
    try {
        // The last byte picks a plain load or one that leaves SALIDAS empty.
        if (size == 0) return 0;
        xml::LoadOptions options;
        if (data[size - 1] & 1) options.emptiedSection = "SALIDAS";
        xml::Document document;
        document.loadMemory(std::string_view(reinterpret_cast<const char*>(data), size - 1),
                            "fuzz.xml", options);
        (void)document.selectNodes("/SERVICIO/SALIDAS/listasal[@seq=\"MATERIAS\"]/listasal");
        xml::Node root = document.documentElement();
        if (!root) return 0;
        walk(root, 0);
        if (xml::Node salidas = root.selectSingleNode("SALIDAS")) root.deleteChild(salidas);
    } catch (const Error&) {
    }
    return 0;
}
