#include "report/import_warnings.h"

namespace mirvane::report {

void ImportWarnings::beginTeacher(const Teacher& teacher, std::size_t number) {
    current_ = teacher;
    currentNumber_ = number;
    currentKept_ = false;
}

void ImportWarnings::lesson(std::size_t number, const ActivityCheck& check,
                            const ResolvedCodes& /*codes*/) {
    if (check.flags.faithful()) return;
    if (!currentKept_) {
        if (csv_) csv_->teacher(current_, currentNumber_);
        teachers_.push_back({std::move(current_), currentNumber_, 0, {}, {}});
        currentKept_ = true;
    }
    TeacherProblems& teacher = teachers_.back();
    ++teacher.activities;
    for (Cause cause : Causes(check.flags)) {
        const auto at = static_cast<std::size_t>(cause);
        ++teacher.causes[at];
        ++activities_[at];
        ++keys_[at][keyOf(check, cause)];
    }
    if (teacher.examples.size() < kExamplesPerTeacher)
        teacher.examples.push_back(keepActivity(number, check, texts_));
    if (csv_) csv_->activity(number, check);
}

void ImportWarnings::finish() {
    if (csv_) csv_->finish();
}

std::vector<CauseGroup> ImportWarnings::causes() const {
    std::vector<CauseGroup> groups;
    for (Cause cause : kCauses) {
        const auto at = static_cast<std::size_t>(cause);
        if (activities_[at] == 0) continue;
        groups.push_back(
            {cause, activities_[at], byFrequency({keys_[at].begin(), keys_[at].end()})});
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
