#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "report/import_lesson.h"

// The import's warnings grouped by what caused them: thousands of activities
// usually come from a few keys that a table lacks.
namespace mirvane::report {

// Why a field went to Delphos empty or wrong, the worst first: an activity
// that cannot be placed in the week, then one without its group, subject or
// room, then one with a stand-in activity code.
enum class Cause { Slot, Group, Subject, Room, DefaultCode, TaskCode };
inline constexpr std::size_t kCauseCount = 6;

// Every cause, in the order above.
inline constexpr std::array<Cause, kCauseCount> kCauses{
    Cause::Slot, Cause::Group, Cause::Subject, Cause::Room, Cause::DefaultCode, Cause::TaskCode};

// The causes of one activity, in the order above.
class Causes {
  public:
    template <typename Checked>  // an ActivityCheck or a KeptActivity
    explicit Causes(const Checked& c) {
        add(!c.slotFound, Cause::Slot);
        add(!c.groupFound, Cause::Group);
        add(!c.subjectFound, Cause::Subject);
        add(!c.roomFound, Cause::Room);
        add(c.actividad == ActivityCode::Default, Cause::DefaultCode);
        add(c.actividad == ActivityCode::TaskCode, Cause::TaskCode);
    }
    const Cause* begin() const { return causes_.data(); }
    const Cause* end() const { return causes_.data() + size_; }
    // The same as bits, one for each cause in the order of Cause.
    std::size_t bits() const { return bits_; }

  private:
    void add(bool applies, Cause cause) {
        if (!applies) return;
        causes_[size_++] = cause;
        bits_ |= std::size_t{1} << static_cast<std::size_t>(cause);
    }
    std::array<Cause, kCauseCount> causes_{};
    std::size_t size_ = 0;
    std::size_t bits_ = 0;
};

// The SOLUC value whose lookup failed: the slot key sought, the room, the
// group, the subject, or the task.
const std::string& keyOf(const ActivityCheck& check, Cause cause);

// What the report says of a cause: the field and why, and a short name for
// the columns of the per-teacher table and of the CSV.
std::string_view causeDescription(Cause cause);
std::string_view causeShortName(Cause cause);

// A key and the number of activities in which it was not found.
using KeyCount = std::pair<std::string, std::size_t>;

struct CauseGroup {
    Cause cause;
    std::size_t activities = 0;
    std::vector<KeyCount> keys;  // the most frequent first, then in byte order
};

// Keys counted, the most frequent first, ties in byte order.
std::vector<KeyCount> byFrequency(std::vector<KeyCount> counts);

}  // namespace mirvane::report
