#pragma once

#include <filesystem>
#include <memory>
#include <string_view>

#include "xml/document.h"

// Saving a document with one more element, the root's last child, written
// out piece by piece as it is produced instead of being built as nodes: the
// file holds the bytes Document::save would write had the element been built
// and appended. The rest of the document is written by libxml2 as save()
// writes it; the element goes in the same encoding and escaping, and in no
// namespace (undeclaring the root's default one, where it has one).
namespace mirvane::xml {

class StreamedSave {
  public:
    // Begins replacing `file`; nothing replaces it before commit(). The
    // document must have a root and must not change until commit().
    StreamedSave(const Document& document, const std::filesystem::path& file);
    ~StreamedSave();
    StreamedSave(const StreamedSave&) = delete;
    StreamedSave& operator=(const StreamedSave&) = delete;

    // An element, inside the one open; with one attribute when `attribute` is not empty.
    void start(std::string_view name, std::string_view attribute = {}, std::string_view value = {});
    // Text inside the open element (UTF-8); raises for text a document cannot hold.
    void text(std::string_view utf8);
    void end();
    // Every element started has ended: writes the rest and replaces the file.
    void commit();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace mirvane::xml
