// Reading a document without building one of its root's sections. The parser
// still reads and checks every byte of the section; only the nodes that would
// hold its content are never made, which saves most of the memory and time of
// a load when that section is most of the document and is to be replaced.

#include <libxml/SAX2.h>
#include <libxml/parser.h>

#include <cstring>

#include "xml/detail.h"

namespace mirvane::xml {

SectionSkipper& SectionSkipper::of(void* parser) {
    return *static_cast<SectionSkipper*>(static_cast<xmlParserCtxtPtr>(parser)->_private);
}

SectionSkipper::SectionSkipper(xmlParserCtxtPtr parser, std::string section)
    : parser_(parser), section_(std::move(section)), original_(*parser->sax) {
    parser->_private = this;
    xmlSAXHandler& sax = *parser->sax;
    sax.startElementNs = startElement;
    sax.endElementNs = endElement;
    sax.characters = outsideOnly<&xmlSAXHandler::characters>;
    sax.ignorableWhitespace = outsideOnly<&xmlSAXHandler::ignorableWhitespace>;
    sax.cdataBlock = outsideOnly<&xmlSAXHandler::cdataBlock>;
    sax.comment = outsideOnly<&xmlSAXHandler::comment>;
    sax.processingInstruction = outsideOnly<&xmlSAXHandler::processingInstruction>;
    sax.reference = outsideOnly<&xmlSAXHandler::reference>;
}

SectionSkipper::~SectionSkipper() {
    *parser_->sax = original_;
    parser_->_private = nullptr;
}

void SectionSkipper::emptySection() {
    if (!sectionNode_) return;
    // Entity content can reach the section without passing through the
    // handlers above, as a copy of an entity parsed before.
    xmlNodePtr children = sectionNode_->children;
    sectionNode_->children = nullptr;
    sectionNode_->last = nullptr;
    xmlFreeNodeList(children);
}

void SectionSkipper::startElement(void* parser, const xmlChar* localName, const xmlChar* prefix,
                                  const xmlChar* uri, int namespaceCount,
                                  const xmlChar** namespaces, int attributeCount,
                                  int defaultedCount, const xmlChar** attributes) {
    SectionSkipper& self = of(parser);
    if (self.depth_ > 0) {
        ++self.depth_;
        return;
    }
    // The section is a child of the root read by the document's own parser,
    // not one inside an entity's text.
    auto* context = static_cast<xmlParserCtxtPtr>(parser);
    xmlNodePtr parent = context->node;
    const bool isSection =
        !self.sectionNode_ && context == self.parser_ && parent &&
        parent->parent == reinterpret_cast<xmlNodePtr>(context->myDoc) && !uri &&
        std::strcmp(reinterpret_cast<const char*>(localName), self.section_.c_str()) == 0;
    self.original_.startElementNs(parser, localName, prefix, uri, namespaceCount, namespaces,
                                  attributeCount, defaultedCount, attributes);
    if (isSection && context->node && context->node != parent) {
        self.sectionNode_ = context->node;
        self.depth_ = 1;
    }
}

void SectionSkipper::endElement(void* parser, const xmlChar* localName, const xmlChar* prefix,
                                const xmlChar* uri) {
    SectionSkipper& self = of(parser);
    if (self.depth_ > 1) {
        --self.depth_;
        return;
    }
    self.depth_ = 0;  // the section itself ends here, or it was never entered
    self.original_.endElementNs(parser, localName, prefix, uri);
}

}  // namespace mirvane::xml
