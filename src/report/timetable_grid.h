#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "report/timetable.h"

// Where each lesson falls in the week, and which lessons coincide.
namespace mirvane::report {

// A slot's start and end on one day, from HORADESDE and HORAHASTA.
struct SlotTimes {
    std::string desde, hasta;
    bool operator==(const SlotTimes&) const = default;
};

// Sets of lessons, one after another in one list: a large school has tens
// of thousands of them.
class LessonSets {
  public:
    std::size_t size() const { return ends_.size(); }
    std::span<const std::size_t> operator[](std::size_t set) const {
        const std::size_t begin = set ? ends_[set - 1] : 0;
        return {lessons_.data() + begin, ends_[set] - begin};
    }
    // Every lesson of every set, in the sets' order.
    const std::vector<std::size_t>& lessons() const { return lessons_; }

    void add(std::span<const std::size_t> set) {
        lessons_.insert(lessons_.end(), set.begin(), set.end());
        ends_.push_back(lessons_.size());
    }

  private:
    std::vector<std::size_t> lessons_;
    std::vector<std::size_t> ends_;  // where each set's lessons end
};

// The week of the slots in DIASHORAST: the days as columns, the slot numbers
// as rows; a cell is row * days.size() + column.
struct Week {
    std::vector<std::string> days;   // DIA digits, Monday first, any other text after
    std::vector<std::string> slots;  // HORA, trimmed, by number, any other text after
    // Each cell's times (the first DIASHORAST row of its day and slot);
    // nothing where that day has no such slot.
    std::vector<std::optional<SlotTimes>> times;
    // Per row, the times most of its days share (the earliest day's on a
    // tie): a row's cells show their own only where they differ.
    std::vector<SlotTimes> rowTimes;
    // Per lesson, the cell of the slot its key found (the first row of
    // DIASHORAST with that DIHO, as the lookup); nothing when none did.
    std::vector<std::optional<std::size_t>> cells;
    // The lessons that share a cell with another of the same teacher, group
    // or room: each such set once, cell by cell, its lessons in their order.
    LessonSets coincidences;

    std::size_t cellOf(std::size_t row, std::size_t column) const {
        return row * days.size() + column;
    }
};

Week layOut(const Timetable& timetable);

// "Lunes" … "Domingo" for the digits 1 to 7; "Día" and the digit otherwise.
std::string dayName(const std::string& digit);

}  // namespace mirvane::report
