#pragma once

#include <array>
#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "report/kept_lessons.h"
#include "report/report_file.h"

// The pieces of the timetable page's data: JSON values, and its texts, each
// written once.
namespace mirvane::report {

namespace json {
// A Windows-1252 text, and a UTF-8 text of ours (a day's name, a fragment),
// as JSON strings; "<" is escaped too, so that no "</script>" can end the
// block that holds the data.
void appendString(std::string& out, std::string_view cp1252);
void appendUtf8String(std::string& out, std::string_view utf8);
void appendInteger(std::string& out, std::int64_t n);

// Integers with a comma between them, gathered a few hundred bytes at a
// time: the page writes hundreds of thousands, and appending each alone
// costs more than writing its digits.
class Integers {
  public:
    explicit Integers(std::string& out) : out_(out) {}
    Integers(const Integers&) = delete;
    Integers& operator=(const Integers&) = delete;
    ~Integers() { flush(); }

    void add(std::int64_t n) {
        if (used_ + kLongest > bytes_.size()) flush();
        if (any_) bytes_[used_++] = ',';
        any_ = true;
        char* const at = bytes_.data() + used_;
        used_ +=
            static_cast<std::size_t>(std::to_chars(at, bytes_.data() + bytes_.size(), n).ptr - at);
    }
    // Hands on what is gathered, as before a piece of the page is passed on.
    void flush() {
        out_.append(bytes_.data(), used_);
        used_ = 0;
    }

  private:
    static constexpr std::size_t kLongest = 21;  // a comma and an int64's digits and sign
    std::string& out_;
    std::array<char, 512> bytes_;
    std::size_t used_ = 0;
    bool any_ = false;
};
}  // namespace json

// The texts the lessons point to, each written once, by a number: the
// order in which they are first kept, so that the texts most lessons share
// (their days, slots, tasks) take one or two digits.
class PageTexts {
  public:
    explicit PageTexts(const KeptTexts& kept) : kept_(kept), ofKept_(kept.size(), kNone) {}

    // A text of the timetable by its place among the kept ones.
    std::uint32_t keptText(std::uint32_t place) {
        std::uint32_t& number = ofKept_[place];
        if (number == kNone) number = add(kept_[place]);
        return number;
    }
    // Any other text, such as a name or a time.
    std::uint32_t text(const std::string& cp1252);

    // The texts as a JSON array, by their numbers.
    void write(PieceBuffer& buffer) const;

  private:
    static constexpr std::uint32_t kNone = UINT32_MAX;
    std::uint32_t add(const std::string& cp1252) {
        texts_.push_back(&cp1252);
        return static_cast<std::uint32_t>(texts_.size() - 1);
    }

    const KeptTexts& kept_;
    std::vector<std::uint32_t> ofKept_;                      // by place among the kept texts
    std::unordered_map<std::string, std::uint32_t> others_;  // its keys stay put
    std::vector<const std::string*> texts_;                  // by number
};

}  // namespace mirvane::report
