#include "report/timetable_grid.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <tuple>
#include <unordered_map>

#include "base/text.h"
#include "report/school_words.h"

namespace mirvane::report {
namespace {

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

// The sets of lessons that share a cell and a key of one kind (a teacher,
// a group, a room; kNone shares nothing), each set once, cell by cell.
LessonSets sharedSets(const std::vector<std::optional<std::size_t>>& cells, std::size_t cellCount,
                      const std::array<std::vector<std::uint32_t>, 3>& keysByKind) {
    // The placed lessons by cell, each cell's in their order.
    std::vector<std::size_t> start(cellCount + 1);
    for (const auto& cell : cells)
        if (cell) ++start[*cell + 1];
    for (std::size_t c = 0; c < cellCount; ++c) start[c + 1] += start[c];
    // Lessons and places as 32-bit numbers: a large school's lists then
    // take half the cache.
    std::vector<std::uint32_t> byCell(start.back());
    std::vector<std::size_t> next(start.begin(), start.end() - 1);
    for (std::size_t i = 0; i < cells.size(); ++i)
        if (cells[i]) byCell[next[*cells[i]]++] = static_cast<std::uint32_t>(i);

    LessonSets sets;
    // Per kind, the set each lesson is in; the sets of one kind never overlap.
    constexpr std::uint32_t kNoSet = UINT32_MAX;
    std::array<std::vector<std::uint32_t>, 3> setOf;
    // Per kind and key, the last cell it was seen in, how often there, and
    // where its first and last lessons there are among the cell's; each
    // lesson links to the next of its key, so no cell's lessons are sorted.
    std::array<std::vector<std::uint32_t>, 3> seenIn, firstIn, lastIn;
    std::array<std::vector<std::uint32_t>, 3> timesIn;
    for (std::size_t kind = 0; kind < keysByKind.size(); ++kind) {
        std::size_t keyCount = 0;
        for (std::uint32_t key : keysByKind[kind])
            if (key != kNone) keyCount = std::max<std::size_t>(keyCount, key + 1);
        seenIn[kind].assign(keyCount, kNone);
        timesIn[kind].assign(keyCount, 0);
        firstIn[kind].resize(keyCount);
        lastIn[kind].resize(keyCount);
    }
    std::vector<std::uint32_t> nextOfKey(byCell.size());  // by place among byCell
    std::vector<std::size_t> set;
    for (std::size_t c = 0; c < cellCount; ++c) {
        if (start[c + 1] - start[c] < 2) continue;
        for (std::size_t kind = 0; kind < keysByKind.size(); ++kind) {
            const std::vector<std::uint32_t>& keys = keysByKind[kind];
            for (std::size_t at = start[c]; at < start[c + 1]; ++at) {
                const std::uint32_t key = keys[byCell[at]];
                if (key == kNone) continue;
                const auto here = static_cast<std::uint32_t>(at);
                if (seenIn[kind][key] != c) {
                    seenIn[kind][key] = static_cast<std::uint32_t>(c);
                    timesIn[kind][key] = 0;
                    firstIn[kind][key] = here;
                } else {
                    nextOfKey[lastIn[kind][key]] = here;
                }
                lastIn[kind][key] = here;
                ++timesIn[kind][key];
            }
            // Each repeated key's set, as its first lesson comes.
            for (std::size_t at = start[c]; at < start[c + 1]; ++at) {
                const std::uint32_t key = keys[byCell[at]];
                if (key == kNone || timesIn[kind][key] < 2 || firstIn[kind][key] != at) continue;
                set.clear();
                for (std::size_t i = at;; i = nextOfKey[i]) {
                    set.push_back(byCell[i]);
                    if (i == lastIn[kind][key]) break;
                }
                // A teacher's two lessons in one room coincide twice: the
                // same set, once; it is the set of its first lesson, if any.
                auto same = [&](std::size_t earlier) {
                    const std::uint32_t found =
                        setOf[earlier].empty() ? kNoSet : setOf[earlier][set[0]];
                    return found != kNoSet && std::ranges::equal(sets[found], set);
                };
                bool seen = false;
                for (std::size_t earlier = 0; earlier < kind; ++earlier)
                    seen = seen || same(earlier);
                if (seen) continue;
                if (setOf[kind].empty()) setOf[kind].assign(cells.size(), kNoSet);
                for (std::size_t lesson : set)
                    setOf[kind][lesson] = static_cast<std::uint32_t>(sets.size());
                sets.add(set);
            }
        }
    }
    return sets;
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
    std::string name(weekdayName(digit));
    if (name.empty()) return "Día " + text::toUtf8(digit);
    name[0] = text::toUpper(name[0]);  // every weekday's name begins with an ASCII letter
    return name;
}

Week layOut(const Timetable& timetable) {
    Week week;
    const std::vector<SlotRow>& slots = timetable.slots();
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
    // A lesson without a group or room shares none. The others are numbered
    // as they come, group by group and room by room: the search for
    // coincidences then works on a few hundred numbers, not on every text.
    constexpr std::uint32_t kUnseen = kNone - 1;
    std::array<std::vector<std::uint32_t>, 2> numbers;  // groups, rooms; by text
    numbers.fill(std::vector<std::uint32_t>(texts.size(), kUnseen));
    std::array<std::uint32_t, 2> counts{};
    auto sharedKey = [&](std::size_t kind, std::uint32_t key) {
        std::uint32_t& number = numbers[kind][key];
        if (number == kUnseen) number = text::isBlank(texts[key]) ? kNone : counts[kind]++;
        return number;
    };

    std::array<std::vector<std::uint32_t>, 3> keys;  // teachers, groups, rooms
    for (auto& kind : keys) kind.reserve(timetable.lessons().size());
    week.cells.reserve(timetable.lessons().size());
    for (const TimetableLesson& lesson : timetable.lessons()) {
        week.cells.push_back(lesson.flags.slotFound
                                 ? cellOfKey(lesson.keys[TimetableLesson::SlotKey])
                                 : std::nullopt);
        keys[0].push_back(lesson.teacher);
        keys[1].push_back(sharedKey(0, lesson.keys[TimetableLesson::Codgrupo]));
        keys[2].push_back(sharedKey(1, lesson.keys[TimetableLesson::Aula]));
    }
    week.coincidences = sharedSets(week.cells, week.times.size(), keys);
    return week;
}

}  // namespace mirvane::report
