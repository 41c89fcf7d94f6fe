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

namespace {

// A text node whose content is kept once in the document's dictionary, as
// the parser keeps names and short texts: a value met again costs no copy,
// and the node one allocation less.
xmlNodePtr newSharedText(xmlDocPtr doc, const std::string& value) {
    if (!doc->dict) return xmlNewDocTextLen(doc, xmlText(value), static_cast<int>(value.size()));
    const xmlChar* shared =
        xmlDictLookup(doc->dict, xmlText(value), static_cast<int>(value.size()));
    xmlNodePtr text = shared ? xmlNewDocText(doc, nullptr) : nullptr;
    if (text) text->content = const_cast<xmlChar*>(shared);
    return text;
}

bool hasPlainAttribute(xmlNodePtr element, const std::string& name) {
    for (xmlAttrPtr attr = element->properties; attr; attr = attr->next)
        if (!attr->ns && name == reinterpret_cast<const char*>(attr->name)) return true;
    return false;
}

void requireName(std::string_view name, std::string_view what) {
    const std::string copy(name);
    if (copy.empty() || copy.find('\0') != std::string::npos || !xmlCheckUTF8(xmlText(copy)) ||
        xmlValidateName(xmlText(copy), 0) != 0)
        fail("«" + validUtf8(name) + "» no es un nombre válido de " + std::string(what) + " XML");
}

}  // namespace

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

void Node::setText(std::string_view utf8) {
    xmlNodePtr node = require(node_, "text");
    requireWritableText(utf8, "texto");
    const std::string value(utf8);
    switch (node->type) {
        case XML_ELEMENT_NODE: {
            // The old children leave the tree but stay alive: handles to them
            // must not dangle.
            while (xmlNodePtr child = node->children) {
                xmlUnlinkNode(child);
                document_->impl_->own(child);
            }
            if (value.empty()) return;
            xmlNodePtr text = newSharedText(node->doc, value);
            if (!text || !xmlAddChild(node, text)) {
                xmlFreeNode(text);
                fail("No se puede escribir el texto de un elemento XML");
            }
            return;
        }
        case XML_ATTRIBUTE_NODE: {
            // xmlNodeSetContent reads entity references; escape them first.
            xmlChar* escaped = xmlEncodeSpecialChars(node->doc, xmlText(value));
            xmlNodeSetContent(node, escaped);
            xmlFree(escaped);
            return;
        }
        case XML_TEXT_NODE:
        case XML_CDATA_SECTION_NODE:
        case XML_COMMENT_NODE:
            xmlNodeSetContentLen(node, xmlText(value), static_cast<int>(value.size()));
            return;
        default:
            fail("No se puede escribir texto en un nodo XML de tipo " + name());
    }
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

void Node::setAttribute(std::string_view name, std::string_view value) {
    xmlNodePtr node = require(node_, "setAttribute");
    if (node->type != XML_ELEMENT_NODE)
        fail("Solo un elemento XML puede llevar atributos, no un nodo " + this->name());
    requireName(name, "atributo");
    requireWritableText(value, "valor");
    const std::string attributeName(name), attributeValue(value);
    if (attributeName.find(':') == std::string::npos && !hasPlainAttribute(node, attributeName)) {
        // A new attribute in no namespace, as the result document's are: its
        // value shared like an element's text.
        xmlAttrPtr attr = xmlNewProp(node, xmlText(attributeName), nullptr);
        xmlNodePtr text = attr ? newSharedText(node->doc, attributeValue) : nullptr;
        if (text) {
            attr->children = attr->last = text;
            text->parent = reinterpret_cast<xmlNodePtr>(attr);
            return;
        }
        if (attr) xmlRemoveProp(attr);
    } else if (xmlSetProp(node, xmlText(attributeName), xmlText(attributeValue))) {
        return;
    }
    fail("No se puede poner el atributo " + attributeName + " al elemento " + this->name());
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

void Node::appendChild(Node child) {
    xmlNodePtr parent = require(node_, "appendChild");
    xmlNodePtr node = require(child.node_, "appendChild");
    if (child.document_ != document_) fail("El nodo que se añade es de otro documento XML");
    if (parent->type != XML_ELEMENT_NODE || node->type != XML_ELEMENT_NODE)
        fail("Solo se puede añadir un elemento XML dentro de otro elemento");
    for (xmlNodePtr above = parent; above; above = above->parent)
        if (above == node) fail("Un elemento XML no se puede añadir dentro de sí mismo");
    xmlUnlinkNode(node);
    Document::Impl& impl = *document_->impl_;
    impl.own(node);  // stays owned if the addition fails
    if (!xmlAddChild(parent, node)) fail("No se puede añadir el elemento " + child.name());
    impl.disown(node);
}

void* Node::childToTakeOut(const Node& child, const char* operation) const {
    xmlNodePtr parent = require(node_, operation);
    xmlNodePtr node = require(child.node_, operation);
    if (child.document_ != document_ || node->parent != parent || node->type == XML_ATTRIBUTE_NODE)
        fail("El nodo que se quiere quitar no es hijo del elemento " + name());
    return node;
}

void Node::removeChild(Node child) {
    xmlNodePtr node = raw(childToTakeOut(child, "removeChild"));
    xmlUnlinkNode(node);
    document_->impl_->own(node);
}

void Node::deleteChild(Node child) {
    xmlNodePtr node = raw(childToTakeOut(child, "deleteChild"));
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

void Document::Impl::own(xmlNodePtr node) {
    if (node->_private) return;
    detached.push_back(node);
    node->_private = reinterpret_cast<void*>(static_cast<std::uintptr_t>(detached.size()));
}

void Document::Impl::disown(xmlNodePtr node) {
    const auto place = reinterpret_cast<std::uintptr_t>(node->_private);
    if (place == 0) return;
    node->_private = nullptr;
    // The last entry takes the leaving node's place.
    xmlNodePtr last = detached.back();
    detached.pop_back();
    if (last != node) {
        detached[place - 1] = last;
        last->_private = reinterpret_cast<void*>(place);
    }
}

void Document::Impl::release() {
    for (auto& [expression, compiled] : compiled) xmlXPathFreeCompExpr(compiled);
    compiled.clear();
    if (xpathContext) xmlXPathFreeContext(xpathContext);
    xpathContext = nullptr;
    // Every detached node tops its own subtree, so none is inside another.
    for (xmlNodePtr node : detached) xmlFreeNode(node);
    detached.clear();
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

xmlDocPtr Document::Impl::ensureDoc() {
    if (!doc) {
        doc = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
        if (!doc) fail("No hay memoria para un documento XML");
    }
    return doc;
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

Node Document::createElement(std::string_view name) {
    requireName(name, "elemento");
    const std::string elementName(name);
    xmlNodePtr node = xmlNewDocNode(impl_->ensureDoc(), nullptr, xmlText(elementName), nullptr);
    if (!node) fail("No se puede crear el elemento XML " + elementName);
    impl_->own(node);
    return Node(node, this);
}

}  // namespace mirvane::xml
