// Attributes that the document's internal DTD subset gives a default value
// and an element does not write. XML 1.0 supplies them, and a DOM shows them
// like any other attribute, so XPath and attribute lookups find them. They
// were never written, so a save leaves them out again.

#include <libxml/SAX2.h>
#include <libxml/parser.h>

#include "xml/detail.h"

namespace mirvane::xml {
namespace {

// What an attribute's _private points at when the DTD supplied it.
constexpr char kDefaulted = 0;

// libxml2's tree builder, told that every attribute was written (it leaves
// the supplied ones out otherwise), then marking those it was given.
void startElementWithDefaults(void* context, const xmlChar* localName, const xmlChar* prefix,
                              const xmlChar* uri, int namespaceCount, const xmlChar** namespaces,
                              int attributeCount, int defaultedCount, const xmlChar** attributes) {
    auto* parser = static_cast<xmlParserCtxtPtr>(context);
    xmlNodePtr parent = parser->node;
    xmlSAX2StartElementNs(context, localName, prefix, uri, namespaceCount, namespaces,
                          attributeCount, 0, attributes);
    xmlNodePtr element = parser->node;
    if (defaultedCount == 0 || !element || element == parent) return;
    // The supplied attributes are the last ones given; no written one has their name.
    for (int i = attributeCount - defaultedCount; i < attributeCount; ++i) {
        const xmlChar** supplied = attributes + 5 * i;
        for (xmlAttrPtr attr = element->properties; attr; attr = attr->next) {
            const xmlChar* attrUri = attr->ns ? attr->ns->href : nullptr;
            if (xmlStrEqual(attr->name, supplied[0]) && xmlStrEqual(attrUri, supplied[2]))
                attr->_private = const_cast<char*>(&kDefaulted);
        }
    }
}

bool isDefaulted(xmlAttrPtr attr) {
    return attr->_private == &kDefaulted;
}

}  // namespace

void supplyAttributeDefaults(xmlParserCtxtPtr parser) {
    // A new parser builds its tree with libxml2's own handlers, which the
    // one above calls in turn.
    parser->sax->startElementNs = startElementWithDefaults;
}

DefaultedAttributesHidden::DefaultedAttributesHidden(xmlDocPtr doc) {
    // Only a DTD that declares attributes supplies any.
    if (!doc->intSubset || !doc->intSubset->attributes) return;
    try {
        hide(doc);
    } catch (...) {
        restore();
        throw;
    }
}

void DefaultedAttributesHidden::hide(xmlDocPtr doc) {
    xmlNodePtr node = xmlDocGetRootElement(doc);
    while (node) {
        if (node->type == XML_ELEMENT_NODE) {
            xmlAttrPtr previous = nullptr;
            for (xmlAttrPtr attr = node->properties; attr;) {
                xmlAttrPtr next = attr->next;
                if (isDefaulted(attr)) {
                    hidden_.push_back({attr, node, previous});
                    (previous ? previous->next : node->properties) = next;
                    if (next) next->prev = previous;
                    attr->prev = attr->next = nullptr;
                } else {
                    previous = attr;
                }
                attr = next;
            }
        }
        // Depth first, in document order, without recursion.
        if (node->children && node->type == XML_ELEMENT_NODE) {
            node = node->children;
            continue;
        }
        while (node && !node->next) {
            node = node->parent;
            if (node && node->type != XML_ELEMENT_NODE) node = nullptr;
        }
        if (node) node = node->next;
    }
}

DefaultedAttributesHidden::~DefaultedAttributesHidden() {
    restore();
}

void DefaultedAttributesHidden::restore() {
    // Put back in reverse order, each after the attribute it followed.
    for (auto it = hidden_.rbegin(); it != hidden_.rend(); ++it) {
        xmlAttrPtr next = it->previous ? it->previous->next : it->element->properties;
        it->attr->prev = it->previous;
        it->attr->next = next;
        if (next) next->prev = it->attr;
        (it->previous ? it->previous->next : it->element->properties) = it->attr;
    }
    hidden_.clear();
}

}  // namespace mirvane::xml
