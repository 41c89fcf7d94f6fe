#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "dbf/header.h"

// Building a new record: values stored in their field's bytes as dBase III
// readers expect them. A value that cannot be stored raises an error naming
// the field and the table; nothing is ever stored cut short except text.
namespace mirvane::dbf {

// A record with every field empty: blanks, and zeros in binary fields.
std::string blankRecord(const Layout& layout);

// Character text is cut to the field's width and padded with blanks; a
// number field takes a number written as text, a logical field T or F.
void storeText(std::string& record, const FieldDescriptor& field, std::string_view value,
               const std::filesystem::path& file);
void storeBool(std::string& record, const FieldDescriptor& field, bool value,
               const std::filesystem::path& file);
// Numbers are written with the field's decimals and right-aligned.
void storeFloat(std::string& record, const FieldDescriptor& field, double value,
                const std::filesystem::path& file);

}  // namespace mirvane::dbf
