#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "import/lesson.h"

// Lessons kept for a page written after the build: thousands of lessons
// share a few thousand key texts, each kept once.
namespace mirvane::report {

using importing::ActivityCheck;
using importing::LessonFlags;

// Texts kept once however often they are kept. Most are short codes, each
// kept as two machine words beside its text: finding one among thousands
// compares words, not strings, in one flat table.
class KeptTexts {
  public:
    // The place of `text`, the same for equal texts.
    std::uint32_t keep(std::string_view text);
    // Whether the text at `at` is `text`.
    bool holds(std::uint32_t at, std::string_view text) const {
        return holds(at, text, printOf(text));
    }
    // Valid until the next keep.
    const std::string& operator[](std::uint32_t at) const { return texts_[at]; }
    std::size_t size() const { return texts_.size(); }

  private:
    // A text shorter than kShort bytes: all its bytes and its length, so
    // that equal prints are equal texts. A longer one: its hash, marked apart.
    struct Print {
        std::uint64_t low = 0, high = 0;
        bool operator==(const Print&) const = default;
    };
    static constexpr std::size_t kShort = 16;
    // Read a word or two at a time, as recording a large school's lessons
    // takes hundreds of thousands of prints.
    static Print printOf(std::string_view text) {
        static_assert(std::endian::native == std::endian::little);
        const char* p = text.data();
        const std::size_t n = text.size();
        if (n >= kShort) return {std::hash<std::string_view>{}(text), ~std::uint64_t{0}};
        Print print{0, std::uint64_t{n} << 56};
        if (n >= 8) {
            // The first eight bytes, and the last n - 8 below the length.
            std::uint64_t last = 0;
            std::memcpy(&print.low, p, 8);
            std::memcpy(&last, p + n - 8, 8);
            if (n > 8) print.high |= last >> (8 * (kShort - n));
        } else if (n >= 4) {
            // The first four bytes and the last four, which overlap.
            std::uint32_t first = 0, last = 0;
            std::memcpy(&first, p, 4);
            std::memcpy(&last, p + n - 4, 4);
            print.low = first | std::uint64_t{last} << 32;
        } else if (n > 0) {
            // The first, middle and last bytes, which cover one to three.
            auto byte = [&](std::size_t at) {
                return std::uint64_t{static_cast<unsigned char>(p[at])};
            };
            print.low = byte(0) | byte(n / 2) << 8 | byte(n - 1) << 16;
        }
        return print;
    }
    bool holds(std::uint32_t at, std::string_view text, const Print& print) const {
        return prints_[at] == print && (text.size() < kShort || texts_[at] == text);
    }
    void grow();

    std::vector<std::string> texts_;  // by place
    std::vector<Print> prints_;       // by place
    // Open addressing, a power of two long, never more than half full: each
    // a place + 1, or 0 where none is.
    std::vector<std::uint32_t> slots_;
};

// A lesson as kept: its number, what its lookups found, and its keys as
// places among kept texts.
struct KeptActivity {
    // The keys, in the order of ActivityCheck's.
    enum Key { Tarea, Dia, Hora, Aula, Codgrupo, Asig, Nivel, Curso, SlotKey, KeyCount };

    std::uint32_t number = 0;  // ACTIVIDAD_n
    LessonFlags flags;
    std::array<std::uint32_t, KeyCount> keys{};
};

KeptActivity keepActivity(std::size_t number, const ActivityCheck& check, KeptTexts& texts);
ActivityCheck checkOf(const KeptActivity& kept, const KeptTexts& texts);

}  // namespace mirvane::report
