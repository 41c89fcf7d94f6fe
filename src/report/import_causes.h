#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "import/lesson.h"

// The import's warnings grouped by what caused them: thousands of activities
// usually come from a few keys that a table lacks.
namespace mirvane::report {

using importing::ActivityCheck;
using importing::ActivityCode;
using importing::LessonFlags;
using importing::ResolvedCodes;
using importing::Teacher;

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
    explicit Causes(const LessonFlags& flags) {
        add(!flags.slotFound, Cause::Slot);
        add(!flags.groupFound, Cause::Group);
        add(!flags.subjectFound, Cause::Subject);
        add(!flags.roomFound, Cause::Room);
        add(flags.actividad == ActivityCode::Default, Cause::DefaultCode);
        add(flags.actividad == ActivityCode::TaskCode, Cause::TaskCode);
    }
    const Cause* begin() const { return causes_.data(); }
    const Cause* end() const { return causes_.data() + size_; }

  private:
    void add(bool applies, Cause cause) {
        if (applies) causes_[size_++] = cause;
    }
    std::array<Cause, kCauseCount> causes_{};
    std::size_t size_ = 0;
};

// The SOLUC value whose lookup failed: the slot key sought, the room, the
// group, the subject, or the task.
const std::string& keyOf(const ActivityCheck& check, Cause cause);

// What the report says of a cause, for a head of studies first: a heading,
// what it means for Delphos, what the keys are, what to do about it; then,
// for whoever must look inside the files, the fields and tables concerned;
// and a short name of what fails, for the columns of the per-teacher table,
// the CSV and the timetable's cells.
struct CauseTexts {
    std::string_view heading, happened, keys, whatToDo, technical, shortName;
};
const CauseTexts& causeTexts(Cause cause);
std::string_view causeShortName(Cause cause);

// The same for the lessons of a teacher the document does not have, which
// never reach Delphos: the worst of all, and no Cause, since no activity
// record holds them.
extern const CauseTexts kWithoutTeacher;

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
