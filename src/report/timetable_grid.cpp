#include "report/timetable_grid.h"

#include <algorithm>
#include <array>
#include <cstdint>
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

// Slot numbers in the day's order; a text that is no number after them.
bool slotBefore(const std::string& a, const std::string& b) {
    auto rank = [](const std::string& s) {
        std::int32_t number = 0;
        return text::tryToInt(s, number) ? std::make_pair(false, number)
                                         : std::make_pair(true, std::int32_t{0});
    };
    return std::make_tuple(rank(a), a) < std::make_tuple(rank(b), b);
}

template <typename Before>
std::size_t placeOf(const std::vector<std::string>& sorted, const std::string& value,
                    Before before) {
    return static_cast<std::size_t>(std::lower_bound(sorted.begin(), sorted.end(), value, before) -
                                    sorted.begin());
}

template <typename Before>
void sortUnique(std::vector<std::string>& values, Before before) {
    std::sort(values.begin(), values.end(), before);
    values.erase(std::unique(values.begin(), values.end()), values.end());
}

constexpr std::uint32_t kNone = UINT32_MAX;

// Adds the sets of lessons that share a cell and a key (a teacher, or a kept
// text); kNone shares nothing.
void addShared(const std::vector<std::uint32_t>& keys,
               const std::vector<std::optional<std::size_t>>& cells,
               std::vector<std::vector<std::size_t>>& out) {
    // Cell and key in one number, so that sorting brings equal ones together.
    std::vector<std::pair<std::uint64_t, std::size_t>> placed;  // cell and key, lesson
    for (std::size_t i = 0; i < keys.size(); ++i)
        if (cells[i] && keys[i] != kNone)
            placed.emplace_back(std::uint64_t{*cells[i]} << 32 | keys[i], i);
    std::sort(placed.begin(), placed.end());
    for (std::size_t first = 0, end = 0; first < placed.size(); first = end) {
        for (end = first + 1; end < placed.size() && placed[end].first == placed[first].first;)
            ++end;
        if (end - first < 2) continue;
        std::vector<std::size_t>& set = out.emplace_back();
        for (std::size_t i = first; i < end; ++i) set.push_back(placed[i].second);
    }
}

// The times most of a row's days share; the earliest day's on a tie.
SlotTimes commonTimes(const Week& week, std::size_t row) {
    std::vector<std::pair<const SlotTimes*, std::size_t>> counted;
    for (std::size_t column = 0; column < week.days.size(); ++column) {
        const auto& times = week.times[week.cellOf(row, column)];
        if (!times) continue;
        auto same = std::find_if(counted.begin(), counted.end(),
                                 [&](const auto& c) { return *c.first == *times; });
        if (same == counted.end())
            counted.emplace_back(&*times, 1);
        else
            ++same->second;
    }
    auto most = std::max_element(counted.begin(), counted.end(),
                                 [](const auto& a, const auto& b) { return a.second < b.second; });
    return most == counted.end() ? SlotTimes{} : *most->first;
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
        week.slots.emplace_back(text::trim(slot.hora));
    }
    sortUnique(week.days, dayBefore);
    sortUnique(week.slots, slotBefore);

    // The first row of each DIHO, as the lookup finds it, and of each day and slot.
    week.times.resize(week.days.size() * week.slots.size());
    std::unordered_map<std::string, std::size_t> cellOfDiho;
    for (const SlotRow& slot : slots) {
        const std::size_t cell =
            week.cellOf(placeOf(week.slots, std::string(text::trim(slot.hora)), slotBefore),
                        placeOf(week.days, slot.dia, dayBefore));
        cellOfDiho.try_emplace(slot.diho, cell);
        if (!week.times[cell]) week.times[cell] = SlotTimes{slot.desde, slot.hasta};
    }
    for (std::size_t row = 0; row < week.slots.size(); ++row)
        week.rowTimes.push_back(commonTimes(week, row));

    // Lessons are told apart by the places of their texts, each looked at once.
    const KeptTexts& texts = timetable.texts();
    std::vector<std::optional<std::optional<std::size_t>>> cellOfText(texts.size());
    auto cellOfKey = [&](std::uint32_t key) {
        if (!cellOfText[key]) {
            auto at = cellOfDiho.find(texts[key]);
            cellOfText[key] =
                at == cellOfDiho.end() ? std::nullopt : std::optional<std::size_t>(at->second);
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
    for (const auto* keys : {&teachers, &groups, &rooms})
        addShared(*keys, week.cells, week.coincidences);
    // A teacher's two lessons in one room coincide twice: the same set, once.
    std::sort(week.coincidences.begin(), week.coincidences.end());
    week.coincidences.erase(std::unique(week.coincidences.begin(), week.coincidences.end()),
                            week.coincidences.end());
    return week;
}

}  // namespace mirvane::report
