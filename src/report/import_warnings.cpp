#include "report/import_warnings.h"

namespace mirvane::report {

std::size_t ActivityCheck::problems() const {
    return (actividad != ActivityCode::Found) + !slotFound + !roomFound + !groupFound +
           !subjectFound;
}

void ImportWarnings::beginTeacher(Teacher teacher, std::size_t number) {
    // A teacher without problems is dropped again as soon as the next begins.
    if (!teachers_.empty() && teachers_.back().activities.empty()) teachers_.pop_back();
    teachers_.push_back({std::move(teacher), number, {}});
}

void ImportWarnings::activity(std::size_t number, ActivityCheck check) {
    if (check.faithful() || teachers_.empty()) return;
    teachers_.back().activities.emplace_back(number, std::move(check));
}

std::vector<const TeacherActivities*> ImportWarnings::teachersWithProblems() const {
    std::vector<const TeacherActivities*> found;
    for (const TeacherActivities& teacher : teachers_)
        if (!teacher.activities.empty()) found.push_back(&teacher);
    return found;
}

std::size_t ImportWarnings::count() const {
    std::size_t total = 0;
    for (const auto& [prof, lessons] : withoutTeacher_) total += lessons;
    for (const TeacherActivities& teacher : teachers_) total += teacher.activities.size();
    return total;
}

}  // namespace mirvane::report
