// The one-pass reader of the export against the DOM on the same bytes: both
// must refuse the same documents with the same message, and read the same
// records of the six sections, field by field (text and, in TRAMOS, label).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "base/text.h"
#include "formats/exchange.h"
#include "xml/document.h"

namespace {

using namespace mirvane;

struct Field {
    std::string text;
    std::optional<std::string> label;
    bool operator==(const Field&) const = default;
};
using Section = std::vector<std::vector<Field>>;

struct Reading {
    std::optional<std::string> refusal;
    std::vector<Section> sections;
    bool operator==(const Reading&) const = default;
};

constexpr std::string_view kSeqs[] = {formats::kMaterias, formats::kProfesores,  formats::kAulas,
                                      formats::kGrupos,   formats::kAsignaturas, formats::kTramos};

// The field values as the writers see them: trimmed and in Windows-1252
// (or the conversion's refusal), and the label in TRAMOS.
Field field(std::string_view content, std::optional<std::string_view> label) {
    Field read;
    try {
        read.text = text::fromUtf8(text::trim(content));
    } catch (const Error& error) {
        read.text = std::string("! ") + error.what();
    }
    if (label) read.label = std::string(*label);
    return read;
}

Reading streamed(std::string_view bytes) {
    Reading reading;
    try {
        const auto exchange = formats::ExchangeRecords::readMemory(bytes, "fuzz.xml");
        for (std::string_view seq : kSeqs) {
            const formats::SectionRecords records = exchange.section(seq);
            Section& section = reading.sections.emplace_back();
            for (std::size_t i = 0; i < records.length(); ++i) {
                const formats::Record record = records.item(i);
                auto& fields = section.emplace_back();
                for (std::size_t k = 0; k < record.fields(); ++k)
                    fields.push_back(field(
                        record.text(k), seq == formats::kTramos ? record.label(k) : std::nullopt));
            }
        }
    } catch (const Error& error) {
        reading = Reading{error.what(), {}};
    }
    return reading;
}

// The section paths through XPath on a whole DOM, as the writers read before.
Reading throughTheDom(std::string_view bytes) {
    Reading reading;
    try {
        xml::Document document;
        document.loadMemory(bytes, "fuzz.xml");
        for (std::string_view seq : kSeqs) {
            const xml::NodeList records = document.selectNodes(formats::sectionPath(seq));
            Section& section = reading.sections.emplace_back();
            for (std::size_t i = 0; i < records.length(); ++i) {
                const xml::NodeList nodes = records.item(i).selectNodes(formats::kSalida);
                auto& fields = section.emplace_back();
                for (std::size_t k = 0; k < nodes.length(); ++k) {
                    const xml::Node node = nodes.item(k);
                    const auto label =
                        seq == formats::kTramos ? node.attribute(formats::kDato) : std::nullopt;
                    fields.push_back(field(node.text(), label));
                }
            }
        }
    } catch (const Error& error) {
        reading = Reading{error.what(), {}};
    }
    return reading;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Reading streaming = streamed(bytes);
    const Reading dom = throughTheDom(bytes);
    if (!(streaming == dom)) {
        std::fprintf(stderr, "streaming: %s\nDOM: %s\n",
                     streaming.refusal ? streaming.refusal->c_str() : "read",
                     dom.refusal ? dom.refusal->c_str() : "read");
        std::abort();
    }
    return 0;
}
