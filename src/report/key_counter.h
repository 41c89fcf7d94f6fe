#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "report/import_causes.h"

namespace mirvane::report {

// How often each key occurs: tens of thousands of lessons name a few hundred
// distinct keys, counted in one flat table (no node per key to chase, no
// division to find a slot).
class KeyCounter {
  public:
    void add(std::string_view key);
    // Each key once, with its count, in the order first seen.
    const std::vector<KeyCount>& counts() const { return entries_; }

  private:
    struct Slot {
        std::uint32_t entry = kEmpty;  // into entries_
        std::uint32_t hash = 0;        // the low half of the key's hash
    };
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFF;

    void grow();
    void place(std::uint64_t hash, std::uint32_t entry);

    std::vector<KeyCount> entries_;
    std::vector<Slot> slots_;  // a power of two of them, at most half in use
};

}  // namespace mirvane::report
