#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Time texts and the start times of the weekly slots: the arithmetic of the
// time-slot table, apart from the document and the table.
namespace mirvane::exporting {

// Slot numbers run from 1 to kSlots.
inline constexpr int kSlots = 20;

// A count of minutes from midnight as a time text "HH:MM": each part the last
// two characters of "00" followed by its decimal number, so 1450 gives 24:10
// (no wrapping at 24 hours).
std::string FormatoHora(std::int64_t minutes);

// `count` characters of `text` from the 1-based position `first`, fewer (or
// none) where the text is shorter.
std::string_view copyText(std::string_view text, std::size_t first, std::size_t count);

// A time text's minutes from midnight: 60 times characters 1-2 plus characters
// 4-5, each through the whole-number conversion.
std::int64_t minutesOf(std::string_view time);

// The slot text of a slot code: its characters 2 and 3.
std::string_view slotText(std::string_view slotCode);

// The weekday digit of a slot code's first character: "1" to "7" for L, M, X,
// J, V, S, D; any other character stands for itself.
std::string weekdayDigit(std::string_view slotCode);

// Whether a character is one of the weekday letters L M X J V S D.
inline bool isWeekdayLetter(char c) {
    return std::string_view("LMXJVSD").find(c) != std::string_view::npos;
}

// Whether a slot code is a Monday record's: its first character is "L".
inline bool isMonday(std::string_view slotCode) {
    return !slotCode.empty() && slotCode.front() == 'L';
}

// The start times of the slot numbers, worked out from Monday's slots.
struct SlotTimes {
    // Entry s for slot number s (entry 0 is unused). After `addMonday` an
    // entry of InicioTramo only marks that Monday has the slot; after `chain`
    // it is the slot's start time.
    std::array<std::string, kSlots + 1> InicioTramo;
    std::array<std::string, kSlots + 1> MinutosTramo;
    // The record of "TRAMOS" that gave Monday's slot s, counted from 1 (0:
    // Monday has no slot s), for messages.
    std::array<std::size_t, kSlots + 1> mondayRecord{};

    // Monday's slot s (1 to kSlots), from the record at `index`, lasts
    // `minutes`; a later call for the same slot replaces the earlier one.
    void addMonday(int slot, const std::string& minutes, std::size_t index = 0);

    // Slot 1 starts at `firstStart`; every later slot that Monday has starts
    // when the slot before it ends. An entry that is needed but missing raises
    // the conversion error for its empty text, saying which Monday slot is
    // missing; minutes that do not convert, which record holds them.
    void chain(const std::string& firstStart);
};

}  // namespace mirvane::exporting
