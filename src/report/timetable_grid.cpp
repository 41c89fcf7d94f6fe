#include "report/timetable_grid.h"

#include <algorithm>
#include <array>
#include <map>
#include <tuple>
#include <unordered_map>

#include "base/text.h"

namespace mirvane::report {
namespace {

constexpr std::array<const char*, 7> kDayNames{"Lunes",   "Martes", "Miércoles", "Jueves",
                                               "Viernes", "Sábado", "Domingo"};

// Monday to Sunday first, any other text after them.
bool dayBefore(const std::string& a, const std::string& b) {
    auto rank = [](const std::string& d) {
        return d.size() == 1 && d[0] >= '1' && d[0] <= '7' ? d[0] - '1' : 7;
    };
    return std::make_tuple(rank(a), a) < std::make_tuple(rank(b), b);
}

template <typename Key>
void markShared(const std::vector<Key>& keys, const std::vector<std::optional<Cell>>& cells,
                std::vector<Coincidence>& out, bool Coincidence::*flag) {
    std::map<std::tuple<std::size_t, std::size_t, Key>, std::vector<std::size_t>> byCell;
    for (std::size_t i = 0; i < keys.size(); ++i)
        if (cells[i] && keys[i]) byCell[{cells[i]->column, cells[i]->row, *keys[i]}].push_back(i);
    for (const auto& [cell, lessons] : byCell)
        if (lessons.size() > 1)
            for (std::size_t i : lessons) out[i].*flag = true;
}

}  // namespace

std::string dayName(const std::string& digit) {
    if (digit.size() == 1 && digit[0] >= '1' && digit[0] <= '7') return kDayNames[digit[0] - '1'];
    return "Día " + text::toUtf8(digit);
}

Week layOut(const Timetable& timetable) {
    Week week;
    const std::vector<SlotRow>& slots = timetable.names().slots;
    for (const SlotRow& slot : slots) {
        week.days.push_back(slot.dia);
        week.rows.emplace_back(slot.desde, slot.hasta);
    }
    std::sort(week.days.begin(), week.days.end(), dayBefore);
    week.days.erase(std::unique(week.days.begin(), week.days.end()), week.days.end());
    std::sort(week.rows.begin(), week.rows.end());
    week.rows.erase(std::unique(week.rows.begin(), week.rows.end()), week.rows.end());

    // The first row of each DIHO, as the lookup finds it.
    std::unordered_map<std::string, Cell> cellOf;
    for (const SlotRow& slot : slots) {
        const auto column = static_cast<std::size_t>(
            std::lower_bound(week.days.begin(), week.days.end(), slot.dia, dayBefore) -
            week.days.begin());
        const auto row =
            static_cast<std::size_t>(std::lower_bound(week.rows.begin(), week.rows.end(),
                                                      std::make_pair(slot.desde, slot.hasta)) -
                                     week.rows.begin());
        cellOf.try_emplace(slot.diho, Cell{column, row});
    }

    const auto& lessons = timetable.lessons();
    std::vector<std::optional<std::size_t>> teachers;
    std::vector<std::optional<std::string>> groups, rooms;
    for (const TimetableLesson& lesson : lessons) {
        const ActivityCheck check = timetable.check(lesson);
        std::optional<Cell> cell;
        if (check.slotFound) {
            auto at = cellOf.find(check.slotKey);
            if (at != cellOf.end()) cell = at->second;
        }
        week.cells.push_back(cell);
        teachers.emplace_back(lesson.teacher);
        // A lesson without a group or room shares none.
        auto key = [](const std::string& value) {
            return text::isBlank(value) ? std::nullopt : std::optional<std::string>(value);
        };
        groups.push_back(key(check.codgrupo));
        rooms.push_back(key(check.aula));
    }
    week.coincidences.resize(lessons.size());
    markShared(teachers, week.cells, week.coincidences, &Coincidence::teacher);
    markShared(groups, week.cells, week.coincidences, &Coincidence::group);
    markShared(rooms, week.cells, week.coincidences, &Coincidence::room);
    return week;
}

}  // namespace mirvane::report
