// Selection of nodes by XPath. A bare child name ("salida"), which the runs
// ask of every record, is answered by walking the children; any other
// expression is compiled once per document and kept.

#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <cstring>
#include <memory>

#include "base/error.h"
#include "xml/detail.h"

namespace mirvane::xml {
namespace {

constexpr std::size_t kMaxCompiled = 256;  // more distinct expressions than any run uses

bool isNameStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool isNameChar(char c) {
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

// An ASCII name without a prefix: as an XPath, the context's child elements
// of that name that are in no namespace.
bool isPlainChildName(std::string_view xpath) {
    if (xpath.empty() || !isNameStart(xpath.front())) return false;
    for (char c : xpath)
        if (!isNameChar(c)) return false;
    return true;
}

std::vector<void*> childrenNamed(xmlNodePtr context, std::string_view name) {
    std::vector<void*> found;
    if (context->type != XML_ELEMENT_NODE && context->type != XML_DOCUMENT_NODE) return found;
    found.reserve(16);  // a record's fields, without growing one by one
    for (xmlNodePtr child = context->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE || child->ns) continue;
        const char* childName = reinterpret_cast<const char*>(child->name);
        if (std::strncmp(childName, name.data(), name.size()) == 0 &&
            childName[name.size()] == '\0')
            found.push_back(child);
    }
    return found;
}

// Where XPath compilation and evaluation report their errors.
struct XPathErrors {
    std::string reason;
};

void collectXPathError(void* data, xmlErrorPtr error) {
    auto* errors = static_cast<XPathErrors*>(data);
    if (errors && error && error->message && errors->reason.empty()) {
        std::string reason = validUtf8(error->message);
        while (!reason.empty() && (reason.back() == '\n' || reason.back() == ' '))
            reason.pop_back();
        errors->reason = reason;
    }
}

[[noreturn]] void failExpression(std::string_view xpath, const XPathErrors& errors) {
    std::string message = "La expresión XPath «" + validUtf8(xpath) + "» no es válida";
    if (!errors.reason.empty()) message += ": " + errors.reason;
    fail(message);
}

// Sends a context's reports to `errors` for one selection.
class ReportTo {
  public:
    ReportTo(xmlXPathContextPtr context, XPathErrors& errors) : context_(context) {
        context_->error = collectXPathError;
        context_->userData = &errors;
    }
    ~ReportTo() { context_->userData = nullptr; }
    ReportTo(const ReportTo&) = delete;
    ReportTo& operator=(const ReportTo&) = delete;

  private:
    xmlXPathContextPtr context_;
};

struct FreeXPathObject {
    void operator()(xmlXPathObjectPtr object) const { xmlXPathFreeObject(object); }
};

}  // namespace

std::vector<void*> Document::Impl::select(xmlNodePtr context, std::string_view xpath) {
    if (isPlainChildName(xpath)) return childrenNamed(context, xpath);

    XPathErrors errors;
    if (!xpathContext) xpathContext = xmlXPathNewContext(doc);
    if (!xpathContext) fail("No hay memoria para evaluar una expresión XPath");
    ReportTo reportTo(xpathContext, errors);

    const std::string expression(xpath);
    xmlXPathCompExprPtr compiledExpression = nullptr;
    if (auto known = compiled.find(expression); known != compiled.end()) {
        compiledExpression = known->second;
    } else {
        if (expression.find('\0') != std::string::npos) failExpression(xpath, errors);
        compiledExpression = xmlXPathCtxtCompile(xpathContext, xmlText(expression));
        if (!compiledExpression) failExpression(xpath, errors);
        if (compiled.size() >= kMaxCompiled) {
            for (auto& [text, old] : compiled) xmlXPathFreeCompExpr(old);
            compiled.clear();
        }
        compiled.emplace(expression, compiledExpression);
    }

    xpathContext->node = context;
    std::unique_ptr<xmlXPathObject, FreeXPathObject> result(
        xmlXPathCompiledEval(compiledExpression, xpathContext));
    if (!result) failExpression(xpath, errors);
    if (result->type != XPATH_NODESET)
        fail("La expresión XPath «" + validUtf8(xpath) + "» no selecciona nodos");

    std::vector<void*> found;
    if (xmlNodeSetPtr set = result->nodesetval) {
        found.reserve(static_cast<std::size_t>(set->nodeNr));
        for (int i = 0; i < set->nodeNr; ++i)
            // Namespace nodes are copies that die with the result: left out.
            if (set->nodeTab[i]->type != XML_NAMESPACE_DECL) found.push_back(set->nodeTab[i]);
    }
    return found;
}

}  // namespace mirvane::xml
