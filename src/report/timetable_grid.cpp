#include "report/timetable_grid.h"

#include <algorithm>
#include <array>
#include <cstdint>
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

constexpr std::uint32_t kNone = UINT32_MAX;

// Marks the lessons that share a cell with another of the same key (a
// teacher, or a kept text); kNone shares nothing.
void markShared(const std::vector<std::uint32_t>& keys,
                const std::vector<std::optional<Cell>>& cells, std::size_t columns,
                std::vector<Coincidence>& out, bool Coincidence::*flag) {
    // Cell and key in one number, so that sorting brings equal ones together.
    std::vector<std::pair<std::uint64_t, std::size_t>> placed;  // cell and key, lesson
    for (std::size_t i = 0; i < keys.size(); ++i)
        if (cells[i] && keys[i] != kNone) {
            const std::uint64_t cell = cells[i]->row * columns + cells[i]->column;
            placed.emplace_back(cell << 32 | keys[i], i);
        }
    std::sort(placed.begin(), placed.end());
    for (std::size_t first = 0, end = 0; first < placed.size(); first = end) {
        for (end = first + 1; end < placed.size() && placed[end].first == placed[first].first;)
            ++end;
        if (end - first > 1)
            for (std::size_t i = first; i < end; ++i) out[placed[i].second].*flag = true;
    }
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

    // Lessons are told apart by the places of their texts, each looked at once.
    const KeptTexts& texts = timetable.texts();
    std::vector<std::optional<std::optional<Cell>>> cellOfText(texts.size());
    auto cellOfKey = [&](std::uint32_t key) {
        if (!cellOfText[key]) {
            auto at = cellOf.find(texts[key]);
            cellOfText[key] = at == cellOf.end() ? std::nullopt : std::optional<Cell>(at->second);
        }
        return *cellOfText[key];
    };
    std::vector<signed char> blank(texts.size(), -1);
    // A lesson without a group or room shares none.
    auto sharedKey = [&](std::uint32_t key) {
        if (blank[key] < 0) blank[key] = text::isBlank(texts[key]);
        return blank[key] ? kNone : key;
    };

    const auto& lessons = timetable.lessons();
    std::vector<std::uint32_t> teachers, groups, rooms;
    for (const TimetableLesson& lesson : lessons) {
        const KeptActivity& a = lesson.activity;
        week.cells.push_back(a.flags.slotFound ? cellOfKey(a.keys[KeptActivity::SlotKey])
                                               : std::nullopt);
        teachers.push_back(lesson.teacher);
        groups.push_back(sharedKey(a.keys[KeptActivity::Codgrupo]));
        rooms.push_back(sharedKey(a.keys[KeptActivity::Aula]));
    }
    week.coincidences.resize(lessons.size());
    const std::size_t columns = week.days.size();
    markShared(teachers, week.cells, columns, week.coincidences, &Coincidence::teacher);
    markShared(groups, week.cells, columns, week.coincidences, &Coincidence::group);
    markShared(rooms, week.cells, columns, week.coincidences, &Coincidence::room);
    return week;
}

}  // namespace mirvane::report
