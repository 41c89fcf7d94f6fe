#include "report/import_warnings.h"

namespace mirvane::report {

void ImportWarnings::beginTeacher(const Teacher& teacher, std::size_t number) {
    ++teacherCount_;
    current_ = teacher;
    currentNumber_ = number;
    currentKept_ = false;
}

void ImportWarnings::lesson(std::size_t number, const ActivityCheck& check,
                            const ResolvedCodes& /*codes*/) {
    ++lessonCount_;
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

// Told while the teacher's record is written, before any lesson of theirs:
// the teacher begun last is still whole.
void ImportWarnings::unplacedLesson(const importing::UnplacedLesson& lesson) {
    ++unplacedCount_;
    ++unplaced_[{currentNumber_, lesson.asig, lesson.codgrupo, lesson.tarea}];
    unplacedTeachers_.try_emplace(currentNumber_, current_);
}

std::vector<UnplacedLessons> ImportWarnings::unplacedLessons() const {
    std::vector<UnplacedLessons> out;
    for (const auto& [key, n] : unplaced_) {
        const auto& [number, asig, codgrupo, tarea] = key;
        out.push_back({unplacedTeachers_.at(number), number, asig, codgrupo, tarea, n});
    }
    return out;
}

const std::string* ImportWarnings::subjectName(const std::string& cod) const {
    const auto at = subjectNames_.find(cod);
    return at == subjectNames_.end() ? nullptr : &at->second;
}

const importing::SlotRow* ImportWarnings::slotRow(const std::string& diho) const {
    const auto at = slots_.find(diho);
    return at == slots_.end() ? nullptr : &at->second;
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

std::size_t ImportWarnings::lessonsWithoutTeacherCount() const {
    std::size_t total = 0;
    for (const auto& [prof, lessons] : withoutTeacher_) total += lessons;
    return total;
}

std::size_t ImportWarnings::lessonsWithProblems() const {
    std::size_t total = 0;
    for (const TeacherProblems& teacher : teachers_) total += teacher.activities;
    return total;
}

}  // namespace mirvane::report
