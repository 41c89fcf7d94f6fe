#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "dbf/codepage.h"
#include "dbf/header.h"

// Reading one field of one record, whatever its dBase or FoxPro type.
namespace mirvane::dbf {

// What a field of a record holds, read through its table's layout and code page.
class FieldValue {
  public:
    FieldValue(const Layout& layout, const FieldDescriptor& field, std::string_view record,
               const CodePage& codePage)
        : layout_(layout), field_(field), record_(record), codePage_(codePage) {}

    // Character text without its right padding (left blanks kept), in
    // Windows-1252. Whole numbers as stored, without blanks around them; a
    // number with decimals as its shortest text ("1.00" gives "1"). Empty
    // when blank.
    std::string text() const;
    // Blank numbers read as 0; other text goes through the whole-number conversion.
    std::int32_t integer() const;
    double number() const;

  private:
    bool isNull() const;
    std::string_view raw() const;

    const Layout& layout_;
    const FieldDescriptor& field_;
    std::string_view record_;
    const CodePage& codePage_;
};

// The digits of a numeric field's stored text: blanks and NULs dropped at
// both ends, and the forms that mean "no value" ("", ".", all "*") empty.
std::string_view numericText(std::string_view stored);

// A decimal number written as text ("12", "-1.5", "3,25", "1E3"); false when
// the text is not one.
bool parseNumber(std::string_view digits, double& value);

}  // namespace mirvane::dbf
