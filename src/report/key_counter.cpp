#include "report/key_counter.h"

#include <algorithm>
#include <string>

namespace mirvane::report {
namespace {

// FNV-1a: keys are short codes, for which it is quick and spreads well enough.
std::uint64_t hashOf(std::string_view key) {
    std::uint64_t hash = 0xcbf29ce484222325;
    for (char c : key) hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3;
    return hash;
}

}  // namespace

void KeyCounter::add(std::string_view key) {
    if (2 * (entries_.size() + 1) > slots_.size()) [[unlikely]]
        grow();
    const std::uint64_t hash = hashOf(key);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        const Slot slot = slots_[at];
        if (slot.entry == kEmpty) [[unlikely]] {
            slots_[at] = {static_cast<std::uint32_t>(entries_.size()),
                          static_cast<std::uint32_t>(hash)};
            entries_.emplace_back(std::string(key), 1);
            return;
        }
        if (slot.hash == static_cast<std::uint32_t>(hash) && entries_[slot.entry].first == key) {
            ++entries_[slot.entry].second;
            return;
        }
    }
}

void KeyCounter::grow() {
    slots_.assign(std::max<std::size_t>(16, 2 * slots_.size()), Slot{});
    for (std::size_t entry = 0; entry < entries_.size(); ++entry)
        place(hashOf(entries_[entry].first), static_cast<std::uint32_t>(entry));
}

void KeyCounter::place(std::uint64_t hash, std::uint32_t entry) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = hash & mask;
    while (slots_[at].entry != kEmpty) at = (at + 1) & mask;
    slots_[at] = {entry, static_cast<std::uint32_t>(hash)};
}

}  // namespace mirvane::report
