// Reading records in one SAX pass. The parse is the DOM load's own (the same
// parser, options, protections and error messages); only the handlers that
// would build elements and text are replaced by ones that keep the wanted
// records' field texts. A document that declares entities is read through
// the DOM instead: entity content reaches SAX handlers by other paths than
// the DOM's (and is bounded differently), and such documents are rare enough
// that reading them twice costs nothing that matters.

#include "xml/records.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>

#include <algorithm>
#include <cstring>
#include <exception>

#include "base/error.h"
#include "xml/detail.h"
#include "xml/document.h"

namespace mirvane::xml {

std::string_view Records::Record::text(std::size_t k) const {
    const std::size_t field = first_ + k;
    const std::uint32_t end = records_->ends_.at(field);
    const std::uint32_t begin = field == 0 ? 0 : records_->ends_[field - 1];
    return {records_->bytes_.data() + begin, end - begin};
}

std::optional<std::string_view> Records::Record::label(std::size_t k) const {
    if (firstLabel_ == kNone) return std::nullopt;
    const Span label = records_->labels_.at(firstLabel_ + k);
    if (label.begin == kNone) return std::nullopt;
    return std::string_view(records_->labelBytes_.data() + label.begin, label.end - label.begin);
}

Records::Record Records::record(std::size_t section, std::size_t index) const {
    const Section& kept = sections_.at(section);
    const RecordSpan span = kept.records.at(index);
    return Record(*this, span.first, span.count,
                  kept.firstLabels.empty() ? kNone : kept.firstLabels[index]);
}

// Fills a Records, from SAX events or from a DOM.
class RecordCollector : public ParseHooks {
  public:
    RecordCollector(const RecordPath& path, const std::vector<WantedSection>& wanted)
        : path_(path), wanted_(wanted) {
        records_.sections_.resize(wanted.size());
    }

    Records take() { return std::move(records_); }
    bool usesEntities() const { return usesEntities_; }
    void rethrowFailure() const {
        if (failure_) std::rethrow_exception(failure_);
    }

    // Room for what a document of `size` bytes can give, reserved but not
    // touched, so that the blocks grow without being copied. Every field is
    // a start tag of its own in the document (one that declares entities is
    // read through the DOM), at least "<salida/>"; its text comes from the
    // document's bytes and is seldom longer in UTF-8. A hint only: a block
    // that needs more grows, and one that cannot be reserved is not.
    void inputSize(std::uint64_t size) override {
        const std::uint64_t fields = size / (path_.field.size() + 3);
        try {
            records_.ends_.reserve(
                static_cast<std::size_t>(std::min<std::uint64_t>(fields, Records::kNone)));
            records_.bytes_.reserve(
                static_cast<std::size_t>(std::min<std::uint64_t>(size, Records::kNone)));
        } catch (const std::exception&) {
            // Grown as needed, then.
        }
    }

    void begin(xmlParserCtxtPtr parser) override {
        parser_ = parser;
        original_ = *parser->sax;
        parser->_private = this;
        xmlSAXHandler& sax = *parser->sax;
        sax.startElementNs = startElement;
        sax.endElementNs = endElement;
        // The same handler for both, so that libxml2 never asks the (absent)
        // tree whether blanks are ignorable: the DOM keeps them too.
        sax.characters = characters;
        sax.ignorableWhitespace = characters;
        sax.cdataBlock = characters;
        // A handler that takes comments, though it drops them: without one
        // libxml2 reads a comment another way, with other limits and messages.
        sax.comment = [](void*, const xmlChar*) {};
        sax.processingInstruction = nullptr;
        sax.reference = nullptr;
        sax.entityDecl = entityDeclared;
        sax.unparsedEntityDecl = unparsedEntityDeclared;
    }
    void end(xmlDocPtr) override {
        *parser_->sax = original_;
        parser_->_private = nullptr;
    }
    bool abandoned() const override { return usesEntities_ || failure_; }

    // The DOM's answer for a document that declares entities.
    void collectFrom(const Document& document) {
        for (std::size_t set = 0; set < wanted_.size(); ++set) {
            const std::string xpath = sectionXPath(wanted_[set].value);
            const NodeList records = document.selectNodes(xpath);
            for (std::size_t i = 0; i < records.length(); ++i) {
                beginRecord(set);
                const NodeList fields = records.item(i).selectNodes(path_.field);
                for (std::size_t k = 0; k < fields.length(); ++k) {
                    const Node field = fields.item(k);
                    const auto label = wanted_[set].labels ? field.attribute(path_.label)
                                                           : std::optional<std::string>();
                    beginField(label ? std::optional<std::string_view>(*label) : std::nullopt);
                    append(field.text());
                    endField();
                }
                endRecord();
            }
        }
    }

  private:
    // The levels of the path, from the root (1) to a field (5).
    enum Level { kNone, kRoot, kContainer, kSection, kRecord, kField };

    static RecordCollector& of(void* parser) {
        return *static_cast<RecordCollector*>(static_cast<xmlParserCtxtPtr>(parser)->_private);
    }

    std::string sectionXPath(std::string_view value) const {
        std::string xpath;
        xpath.append("/").append(path_.root).append("/").append(path_.container);
        xpath.append("/").append(path_.section).append("[@").append(path_.key).append("=\"");
        xpath.append(value).append("\"]/").append(path_.record);
        return xpath;
    }

    // A callback's body: no exception may cross libxml2's frames, so the
    // first one stops the parse and is raised once it has returned.
    template <typename Body>
    void guarded(Body body) {
        if (failure_) return;
        try {
            body();
        } catch (...) {
            failure_ = std::current_exception();
            xmlStopParser(parser_);
        }
    }

    static bool named(const xmlChar* name, const xmlChar* uri, std::string_view wanted) {
        return !uri && std::string_view(reinterpret_cast<const char*>(name)) == wanted;
    }

    // The value of a plain (no namespace) attribute, written or supplied by
    // the DTD's default, as the DOM holds it.
    static std::optional<std::string_view> attribute(int count, const xmlChar** attributes,
                                                     std::string_view name) {
        for (int i = 0; i < count; ++i) {
            const xmlChar** attribute = attributes + 5 * i;
            if (named(attribute[0], attribute[2], name))
                return std::string_view(reinterpret_cast<const char*>(attribute[3]),
                                        static_cast<std::size_t>(attribute[4] - attribute[3]));
        }
        return std::nullopt;
    }

    static void startElement(void* parser, const xmlChar* localName, const xmlChar*,
                             const xmlChar* uri, int, const xmlChar**, int attributeCount, int,
                             const xmlChar** attributes) {
        RecordCollector& self = of(parser);
        self.guarded([&] {
            ++self.depth_;
            if (self.matched_ != self.depth_ - 1 || self.depth_ > kField) return;
            switch (self.depth_) {
                case kRoot:
                    if (named(localName, uri, self.path_.root)) self.matched_ = kRoot;
                    break;
                case kContainer:
                    if (named(localName, uri, self.path_.container)) self.matched_ = kContainer;
                    break;
                case kSection:
                    if (named(localName, uri, self.path_.section))
                        if (const auto key = attribute(attributeCount, attributes, self.path_.key))
                            for (std::size_t set = 0; set < self.wanted_.size(); ++set)
                                if (*key == self.wanted_[set].value) {
                                    self.set_ = set;
                                    self.matched_ = kSection;
                                    break;
                                }
                    break;
                case kRecord:
                    if (named(localName, uri, self.path_.record)) {
                        self.beginRecord(self.set_);
                        self.matched_ = kRecord;
                    }
                    break;
                case kField:
                    if (named(localName, uri, self.path_.field)) {
                        self.beginField(
                            self.wanted_[self.set_].labels
                                ? attribute(attributeCount, attributes, self.path_.label)
                                : std::nullopt);
                        self.matched_ = kField;
                    }
                    break;
                default:
                    break;
            }
        });
    }

    static void endElement(void* parser, const xmlChar*, const xmlChar*, const xmlChar*) {
        RecordCollector& self = of(parser);
        self.guarded([&] {
            if (self.matched_ == self.depth_) {
                if (self.matched_ == kField) self.endField();
                if (self.matched_ == kRecord) self.endRecord();
                --self.matched_;
            }
            --self.depth_;
        });
    }

    static void characters(void* parser, const xmlChar* text, int length) {
        RecordCollector& self = of(parser);
        if (self.matched_ != kField) return;
        self.guarded([&] {
            self.append(std::string_view(reinterpret_cast<const char*>(text),
                                         static_cast<std::size_t>(length)));
        });
    }

    static void entityDeclared(void* parser, const xmlChar*, int, const xmlChar*, const xmlChar*,
                               xmlChar*) {
        of(parser).fallBackToTheDom();
    }
    static void unparsedEntityDeclared(void* parser, const xmlChar*, const xmlChar*, const xmlChar*,
                                       const xmlChar*) {
        of(parser).fallBackToTheDom();
    }
    void fallBackToTheDom() {
        usesEntities_ = true;
        xmlStopParser(parser_);
    }

    // The size of a block as an offset into it.
    static std::uint32_t offset(const std::string& bytes) {
        if (bytes.size() >= Records::kNone) fail("El documento tiene demasiado texto para leerlo");
        return static_cast<std::uint32_t>(bytes.size());
    }
    void append(std::string_view text) {
        records_.bytes_.append(text);
        offset(records_.bytes_);
    }

    void beginRecord(std::size_t set) {
        set_ = set;
        recordFirst_ = static_cast<std::uint32_t>(records_.ends_.size());
        recordFirstLabel_ = static_cast<std::uint32_t>(records_.labels_.size());
    }
    void endRecord() {
        const auto count = static_cast<std::uint32_t>(records_.ends_.size()) - recordFirst_;
        Records::Section& section = records_.sections_[set_];
        section.records.push_back({recordFirst_, count});
        if (wanted_[set_].labels) section.firstLabels.push_back(recordFirstLabel_);
    }
    // `label` only counts in a section whose labels are kept.
    void beginField(std::optional<std::string_view> label) {
        if (!wanted_[set_].labels) return;
        Records::Span span{Records::kNone, Records::kNone};
        if (label) {
            std::string& bytes = records_.labelBytes_;
            span.begin = offset(bytes);
            bytes.append(*label);
            span.end = offset(bytes);
        }
        records_.labels_.push_back(span);
    }
    void endField() { records_.ends_.push_back(offset(records_.bytes_)); }

    const RecordPath& path_;
    const std::vector<WantedSection>& wanted_;
    Records records_;

    xmlParserCtxtPtr parser_ = nullptr;
    xmlSAXHandler original_{};
    std::exception_ptr failure_;
    bool usesEntities_ = false;
    int depth_ = 0;                       // open elements
    int matched_ = kNone;                 // the levels of the path the open elements follow
    std::size_t set_ = 0;                 // the wanted section being read
    std::uint32_t recordFirst_ = 0;       // the record's first field
    std::uint32_t recordFirstLabel_ = 0;  // and its first label, where they are kept
};

namespace {

template <typename Parse, typename LoadDom>
Records read(const RecordPath& path, const std::vector<WantedSection>& wanted, Parse parse,
             LoadDom loadDom) {
    RecordCollector collector(path, wanted);
    const ParsedDoc doc = parse(collector);
    collector.rethrowFailure();
    if (!collector.usesEntities()) return collector.take();

    RecordCollector fromDom(path, wanted);
    Document document;
    loadDom(document);
    fromDom.collectFrom(document);
    return fromDom.take();
}

}  // namespace

Records readRecords(const std::filesystem::path& file, const RecordPath& path,
                    const std::vector<WantedSection>& wanted) {
    return read(
        path, wanted, [&](RecordCollector& collector) { return parseFile(file, &collector); },
        [&](Document& document) { document.load(file); });
}

Records readRecordsMemory(std::string_view bytes, const std::string& name, const RecordPath& path,
                          const std::vector<WantedSection>& wanted) {
    return read(
        path, wanted,
        [&](RecordCollector& collector) { return parseMemory(bytes, name, &collector); },
        [&](Document& document) { document.loadMemory(bytes, name); });
}

}  // namespace mirvane::xml
