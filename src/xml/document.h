#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A DOM over libxml2, shaped after the operations the runs need: load, select
// by XPath, read elements, take a section out, save. Texts cross this layer as UTF-8.
// Nodes are small handles that stay valid as long as their document; no
// libxml2 pointer escapes. Every failing call raises mirvane::Error.
namespace mirvane::xml {

class Document;
class NodeList;

class Node {
  public:
    Node() = default;  // the null node: what selectSingleNode gives for no match

    explicit operator bool() const { return node_ != nullptr; }
    std::string name() const;

    // The concatenated text content of the node and its descendants.
    std::string text() const;

    // attributes.getNamedItem(name).text; nullopt when there is no such attribute.
    std::optional<std::string> attribute(std::string_view name) const;

    // XPath relative to this node ("salida", "SALIDAS", ...).
    NodeList selectNodes(std::string_view xpath) const;
    Node selectSingleNode(std::string_view xpath) const;

    // Takes the child out of the tree and frees it with everything under it
    // at once, as when a large section is replaced. Handles to it or to any
    // node under it must not be used afterwards.
    void deleteChild(Node child);

  private:
    friend class Document;
    friend class NodeList;
    Node(void* node, Document* document) : node_(node), document_(document) {}
    void* node_ = nullptr;  // xmlNode
    Document* document_ = nullptr;
};

class NodeList {
  public:
    std::size_t length() const { return nodes_.size(); }
    Node item(std::size_t index) const;  // raises for an index past the end

  private:
    friend class Node;
    friend class Document;
    std::vector<void*> nodes_;
    Document* document_ = nullptr;
};

// What a load may leave out.
struct LoadOptions {
    // When not empty, the root's first child element of this name (in no
    // namespace) is left empty: its content is read and checked like the
    // rest of the document, then dropped instead of being built. For a caller
    // that is going to replace that section and need not hold it in memory.
    std::string_view emptiedSection;
};

class Document {
  public:
    Document();
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // Reads the whole file in any encoding it declares or marks. Never touches
    // the network, never loads an external entity or DTD, bounds entity
    // expansion. A document that is not well-formed raises an error naming
    // the file, the line and the parser's reason. A failed load leaves the
    // document as it was; a successful one replaces it, and the nodes of the
    // replaced document must not be used any more.
    void load(const std::filesystem::path& file, const LoadOptions& options = {});
    // The same from bytes in memory; `name` stands for the file in messages.
    void loadMemory(std::string_view bytes, const std::string& name,
                    const LoadOptions& options = {});

    bool loaded() const;
    Node documentElement() const;  // the null node when there is no root
    NodeList selectNodes(std::string_view xpath) const;

    // Writes the document in the encoding it declares (UTF-8 when none)
    // through a temporary file in the target's folder renamed over the
    // target: a failed save leaves no partial file and an earlier file intact.
    void save(const std::filesystem::path& file) const;

  private:
    friend class Node;
    friend class NodeList;
    friend class StreamedSave;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace mirvane::xml
