#include "xml/document.h"

#include <libxml/tree.h>
#include <libxml/xmlstring.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "base/error.h"
#include "xml/detail.h"

// Nodes and lists over the libxml2 tree. Loading is in xml_load.cpp, saving
// in xml_save.cpp, selection in xml_select.cpp.
namespace mirvane::xml {
namespace {

std::string toString(const xmlChar* text) {
    return text ? std::string(reinterpret_cast<const char*>(text)) : std::string();
}

// The text content of a node: straight from the one text child in the usual
// case of a field, through libxml2 otherwise.
std::string contentOf(xmlNodePtr node) {
    switch (node->type) {
        case XML_TEXT_NODE:
        case XML_CDATA_SECTION_NODE:
        case XML_COMMENT_NODE:
        case XML_PI_NODE:
            return toString(node->content);
        case XML_ELEMENT_NODE:
        case XML_ATTRIBUTE_NODE: {
            xmlNodePtr child = node->children;
            if (!child) return {};
            if (child == node->last &&
                (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE))
                return toString(child->content);
            break;
        }
        default:
            break;
    }
    xmlChar* content = xmlNodeGetContent(node);
    std::string result = toString(content);
    xmlFree(content);
    return result;
}

std::string qualifiedName(const xmlChar* name, const xmlNs* ns) {
    std::string result;
    if (ns && ns->prefix) result.append(reinterpret_cast<const char*>(ns->prefix)).append(":");
    return result.append(toString(name));
}

}  // namespace

// Texts written into the document must be UTF-8 made of characters XML allows.
void requireWritableText(std::string_view utf8, std::string_view what) {
    // Most texts are plain ASCII, which needs no more looking at.
    const bool plain = std::all_of(utf8.begin(), utf8.end(), [](char c) {
        const auto code = static_cast<unsigned char>(c);
        return code < 0x80 && (code >= 0x20 || c == '\t' || c == '\n' || c == '\r');
    });
    if (plain) return;
    std::string copy(utf8);
    if (copy.find('\0') != std::string::npos || !xmlCheckUTF8(xmlText(copy)))
        fail("El " + std::string(what) + " «" + validUtf8(utf8) +
             "» no es texto válido para un documento XML");
    for (unsigned char c : utf8)
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r')
            fail("El " + std::string(what) + " «" + validUtf8(utf8) +
                 "» contiene un carácter de control (código " + std::to_string(c) +
                 ") que un documento XML no admite");
}

// ---- Node -------------------------------------------------------------------

namespace {
xmlNodePtr require(void* node, const char* operation) {
    if (!node) fail(std::string("Se ha pedido «") + operation + "» a un nodo XML que no existe");
    return raw(node);
}
}  // namespace

std::string Node::name() const {
    xmlNodePtr node = require(node_, "name");
    switch (node->type) {
        case XML_ELEMENT_NODE:
        case XML_ATTRIBUTE_NODE:
            return qualifiedName(node->name, node->ns);
        case XML_TEXT_NODE:
            return "#text";
        case XML_CDATA_SECTION_NODE:
            return "#cdata-section";
        case XML_COMMENT_NODE:
            return "#comment";
        case XML_DOCUMENT_NODE:
        case XML_HTML_DOCUMENT_NODE:
            return "#document";
        default:
            return toString(node->name);
    }
}

std::string Node::text() const {
    return contentOf(require(node_, "text"));
}

std::optional<std::string> Node::attribute(std::string_view name) const {
    xmlNodePtr node = require(node_, "attributes");
    if (node->type != XML_ELEMENT_NODE) return std::nullopt;
    for (xmlAttrPtr attr = node->properties; attr; attr = attr->next) {
        const char* local = reinterpret_cast<const char*>(attr->name);
        const bool matches = attr->ns && attr->ns->prefix
                                 ? qualifiedName(attr->name, attr->ns) == name
                                 : std::string_view(local) == name;
        if (matches) return contentOf(reinterpret_cast<xmlNodePtr>(attr));
    }
    return std::nullopt;
}

NodeList Node::selectNodes(std::string_view xpath) const {
    xmlNodePtr node = require(node_, "selectNodes");
    NodeList list;
    list.nodes_ = document_->impl_->select(node, xpath);
    list.document_ = document_;
    return list;
}

Node Node::selectSingleNode(std::string_view xpath) const {
    NodeList list = selectNodes(xpath);
    return list.length() ? list.item(0) : Node();
}

void Node::deleteChild(Node child) {
    xmlNodePtr parent = require(node_, "deleteChild");
    xmlNodePtr node = require(child.node_, "deleteChild");
    if (child.document_ != document_ || node->parent != parent || node->type == XML_ATTRIBUTE_NODE)
        fail("El nodo que se quiere quitar no es hijo del elemento " + name());
    xmlUnlinkNode(node);
    xmlFreeNode(node);
}

// ---- NodeList ---------------------------------------------------------------

Node NodeList::item(std::size_t index) const {
    if (index >= nodes_.size())
        fail("No existe el nodo " + std::to_string(index) + " de una lista de " +
             std::to_string(nodes_.size()));
    return Node(nodes_[index], document_);
}

// ---- Document ---------------------------------------------------------------

void Document::Impl::release() {
    for (auto& [expression, compiled] : compiled) xmlXPathFreeCompExpr(compiled);
    compiled.clear();
    if (xpathContext) xmlXPathFreeContext(xpathContext);
    xpathContext = nullptr;
    if (doc) xmlFreeDoc(doc);
    doc = nullptr;
    loaded = false;
}

void Document::Impl::adopt(xmlDocPtr parsed, const std::string& fileName) {
    release();
    doc = parsed;
    name = fileName;
    loaded = true;
}

Document::Document() : impl_(std::make_unique<Impl>()) {}
Document::~Document() = default;

bool Document::loaded() const {
    return impl_->loaded;
}

Node Document::documentElement() const {
    if (!impl_->doc) return Node();
    xmlNodePtr root = xmlDocGetRootElement(impl_->doc);
    return root ? Node(root, const_cast<Document*>(this)) : Node();
}

NodeList Document::selectNodes(std::string_view xpath) const {
    if (!impl_->doc) fail("No hay ningún documento XML cargado");
    NodeList list;
    list.nodes_ = impl_->select(reinterpret_cast<xmlNodePtr>(impl_->doc), xpath);
    list.document_ = const_cast<Document*>(this);
    return list;
}

}  // namespace mirvane::xml
