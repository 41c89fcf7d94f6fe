#include "report/import_warnings.h"

#include <algorithm>

namespace mirvane::report {
namespace {

// An example's keys in the order they are kept.
template <typename Check>
auto exampleKeys(Check& c) {
    return std::array{&c.tarea, &c.dia,   &c.hora,  &c.aula,   &c.codgrupo,
                      &c.asig,  &c.nivel, &c.curso, &c.slotKey};
}

}  // namespace

void ImportWarnings::beginTeacher(Teacher teacher, std::size_t number) {
    current_ = std::move(teacher);
    currentNumber_ = number;
    currentKept_ = false;
}

void ImportWarnings::activity(std::size_t number, const ActivityCheck& check) {
    if (check.faithful()) return;
    if (!currentKept_) [[unlikely]] {
        if (csv_) csv_->teacher(current_, currentNumber_);
        teachers_.push_back({std::move(current_), currentNumber_, 0, {}, {}});
        currentKept_ = true;
    }
    TeacherProblems& teacher = teachers_.back();
    ++teacher.activities;
    for (Cause cause : Causes(check)) {
        const auto at = static_cast<std::size_t>(cause);
        ++teacher.causes[at];
        ++activities_[at];
        keys_[at].add(keyOf(check, cause));
    }
    if (teacher.examples.size() < kExamplesPerTeacher) [[unlikely]] {
        if (teacher.examples.empty()) teacher.examples.reserve(kExamplesPerTeacher);
        teacher.examples.push_back({static_cast<std::uint32_t>(number),
                                    static_cast<std::uint32_t>(exampleKeys_.size()),
                                    check.actividad, check.slotFound, check.roomFound,
                                    check.groupFound, check.subjectFound});
        // A field's text is at most 254 bytes: its length fits one byte.
        for (const std::string* key : exampleKeys(check)) {
            const std::size_t length = std::min<std::size_t>(key->size(), 255);
            exampleKeys_ += static_cast<char>(length);
            exampleKeys_.append(*key, 0, length);
        }
    }
    if (csv_) csv_->activity(number, check);
}

ActivityCheck ImportWarnings::check(const ExampleActivity& example) const {
    ActivityCheck check;
    check.actividad = example.actividad;
    check.slotFound = example.slotFound;
    check.roomFound = example.roomFound;
    check.groupFound = example.groupFound;
    check.subjectFound = example.subjectFound;
    std::size_t at = example.keys;
    for (std::string* key : exampleKeys(check)) {
        const auto length = static_cast<unsigned char>(exampleKeys_[at]);
        key->assign(exampleKeys_, at + 1, length);
        at += 1 + length;
    }
    return check;
}

void ImportWarnings::finish() {
    if (csv_) csv_->finish();
}

std::vector<CauseGroup> ImportWarnings::causes() const {
    std::vector<CauseGroup> groups;
    for (Cause cause : kCauses) {
        const auto at = static_cast<std::size_t>(cause);
        if (activities_[at] == 0) continue;
        groups.push_back({cause, activities_[at], byFrequency(keys_[at].counts())});
    }
    return groups;
}

std::size_t ImportWarnings::count() const {
    std::size_t total = 0;
    for (const auto& [prof, lessons] : withoutTeacher_) total += lessons;
    for (const TeacherProblems& teacher : teachers_) total += teacher.activities;
    return total;
}

}  // namespace mirvane::report
