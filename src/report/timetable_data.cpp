#include "report/timetable_data.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "base/text.h"
#include "report/import_causes.h"
#include "report/timetable_links.h"
#include "report/timetable_texts.h"

namespace mirvane::report {
namespace {

using json::appendInteger;
using json::appendString;
using json::appendUtf8String;

// The distinct groups or rooms of the lessons (blank ones left out), in
// byte order, and each lesson's place among them (-1: blank).
struct Places {
    std::vector<std::uint32_t> kept;  // places among the kept texts
    std::vector<std::int32_t> ofLesson;
};

// One pass over the lessons, which on a large school do not fit the
// processor's cache: each lesson's text first, its place among the
// sorted ones after.
Places placesOf(const Timetable& timetable, TimetableLesson::Key key) {
    const KeptTexts& texts = timetable.texts();
    constexpr std::int32_t kUnseen = -2, kBlank = -1;
    std::vector<std::int32_t> index(texts.size(), kUnseen);  // by place among the kept texts
    Places places;
    places.ofLesson.reserve(timetable.lessons().size());
    for (const TimetableLesson& lesson : timetable.lessons()) {
        const std::uint32_t place = lesson.keys[key];
        places.ofLesson.push_back(static_cast<std::int32_t>(place));
        if (index[place] != kUnseen) continue;
        index[place] = text::isBlank(texts[place]) ? kBlank : 0;
        if (index[place] != kBlank) places.kept.push_back(place);
    }
    std::sort(places.kept.begin(), places.kept.end(),
              [&](std::uint32_t a, std::uint32_t b) { return texts[a] < texts[b]; });
    for (std::size_t i = 0; i < places.kept.size(); ++i)
        index[places.kept[i]] = static_cast<std::int32_t>(i);
    for (std::int32_t& place : places.ofLesson) place = index[static_cast<std::size_t>(place)];
    return places;
}

std::int64_t causeBits(const LessonFlags& flags) {
    std::int64_t bits = 0;
    for (Cause cause : Causes(flags)) bits |= std::int64_t{1} << static_cast<int>(cause);
    return bits;
}

// A name, or the code where the table gives none.
const std::string& nameOr(const std::string* name, const std::string& code) {
    return !name || text::isBlank(*name) ? code : *name;
}

// Five of a lesson's six codes follow from one of its keys, as the lookups
// find them: X_ACTIVIDAD from TAREA, N_DIASEMANA and X_TRAMO from the slot
// found, X_DEPCENTRO from the room, X_UNIDAD from the group. Each is written
// once per key, as the first lesson with that key has it, and apart for any
// lesson whose code differs from its key's; the page puts them back.
class DecidedCodes {
  public:
    static constexpr std::size_t kCount = 5;
    using Keys = std::array<std::int64_t, kCount>;

    void add(std::size_t lesson, const Keys& keys, const std::array<std::uint32_t, kCount>& codes) {
        for (std::size_t field = 0; field < kCount; ++field) {
            // Keys are small numbers from -1 up: a place in a vector each.
            std::vector<std::uint32_t>& byKey = byKey_[field];
            const auto at = static_cast<std::size_t>(keys[field] + 1);
            if (at >= byKey.size()) byKey.resize(at + 1, kUnseen);
            if (byKey[at] == kUnseen) {
                byKey[at] = codes[field];
                firstSeen_[field].push_back(keys[field]);
            } else if (byKey[at] != codes[field]) {
                apart_.push_back({lesson, field, codes[field]});
            }
        }
    }

    // Per field, [key, code, key, code …]: the codes and the keys of
    // X_ACTIVIDAD are numbers of texts.
    void write(std::string& out) const {
        out += '[';
        for (std::size_t field = 0; field < kCount; ++field) {
            out += field ? ",[" : "[";
            {
                json::Integers list(out);
                for (const std::int64_t key : firstSeen_[field]) {
                    list.add(key);
                    list.add(byKey_[field][static_cast<std::size_t>(key + 1)]);
                }
            }
            out += ']';
        }
        out += ']';
    }
    // [lesson, field, code …] for the lessons whose code is not their key's.
    void writeApart(std::string& out) const {
        json::Integers list(out);
        for (const Apart& apart : apart_) {
            list.add(static_cast<std::int64_t>(apart.lesson));
            list.add(static_cast<std::int64_t>(apart.field));
            list.add(apart.code);
        }
    }

  private:
    struct Apart {
        std::size_t lesson, field;
        std::uint32_t code;
    };
    static constexpr std::uint32_t kUnseen = UINT32_MAX;
    std::array<std::vector<std::uint32_t>, kCount> byKey_;     // the code by key + 1
    std::array<std::vector<std::int64_t>, kCount> firstSeen_;  // the keys, in the lessons' order
    std::vector<Apart> apart_;
};

class DataWriter {
  public:
    DataWriter(const Timetable& timetable, const Week& week, PieceBuffer& buffer)
        : timetable_(timetable),
          week_(week),
          buffer_(buffer),
          out_(buffer.text()),
          texts_(timetable.texts()),
          groups_(placesOf(timetable, TimetableLesson::Codgrupo)),
          rooms_(placesOf(timetable, TimetableLesson::Aula)) {}

    void write() {
        // The texts are numbered as they come, and written last.
        out_ += "{\"clases\":[";
        writeLessons();
        out_ += "],\n\"codigos\":";
        codes_.write(out_);
        out_ += ",\n\"codigosAparte\":[";
        codes_.writeApart(out_);
        out_ += "],\n\"numerosAparte\":[";
        {
            json::Integers numbers(out_);
            for (const std::int64_t value : numbersApart_) numbers.add(value);
        }
        out_ += "],\n\"sinTramo\":[";
        writeUnplaced();
        out_ += "],\n\"coincidencias\":[";
        for (std::size_t s = 0; s < week_.coincidences.size(); ++s) {
            const std::span<const std::size_t> set = week_.coincidences[s];
            out_ += s ? ",[" : "[";
            {
                json::Integers lessons(out_);
                for (const std::size_t lesson : set) lessons.add(static_cast<std::int64_t>(lesson));
            }
            out_ += ']';
            buffer_.pass();
        }
        out_ += "],\n\"dias\":[";
        list(week_.days, [&](const std::string& day) { appendUtf8String(out_, dayName(day)); });
        out_ += "],\n\"tramos\":[";
        list(week_.slots, [&](const std::string& slot) { appendString(out_, slot); });
        out_ += "],\n\"horas\":[";
        list(week_.times, [&](const std::optional<SlotTimes>& times) { writeTimes(times); });
        out_ += "],\n\"horasFila\":[";
        list(week_.rowTimes, [&](const SlotTimes& times) { writeTimes(times); });
        out_ += "],\n\"profesores\":[";
        list(timetable_.teachers(), [&](const TimetableTeacher& t) { writeTeacher(t); });
        out_ += "],\n\"grupos\":[";
        writeGroups();
        out_ += "],\n\"aulas\":[";
        writeRooms();
        out_ += "],\n\"nombresAsignatura\":[";
        writeSubjectNames();
        out_ += "],\n\"textos\":";
        texts_.write(buffer_);
        out_ += "}";
    }

  private:
    static constexpr std::uint32_t kNone = UINT32_MAX;

    template <typename Items, typename Write>
    void list(const Items& items, Write write) {
        bool first = true;
        for (const auto& item : items) {
            if (!first) out_ += ',';
            first = false;
            write(item);
            buffer_.pass();
        }
    }

    // Each lesson's row; its decided codes, and its number where the page
    // cannot count it, kept for later.
    void writeLessons() {
        std::size_t counted = 0;  // the lesson's place among its teacher's
        json::Integers rows(out_);
        for (std::size_t at = 0; at < timetable_.lessons().size(); ++at) {
            const TimetableLesson& l = timetable_.lessons()[at];
            const std::int64_t cell =
                week_.cells[at] ? static_cast<std::int64_t>(*week_.cells[at]) : -1;
            const std::uint32_t tarea = texts_.keptText(l.keys[TimetableLesson::Tarea]);
            const std::array<std::int64_t, kLessonFields> row{
                l.teacher,
                cell,
                groups_.ofLesson[at],
                rooms_.ofLesson[at],
                texts_.keptText(l.keys[TimetableLesson::Asig]),
                causeBits(l.flags),
                tarea,
                texts_.keptText(l.codes[5])};
            for (const std::int64_t value : row) rows.add(value);
            rows.flush();
            buffer_.pass();

            std::array<std::uint32_t, DecidedCodes::kCount> codes{};
            for (std::size_t i = 0; i < codes.size(); ++i) codes[i] = texts_.keptText(l.codes[i]);
            codes_.add(at, {tarea, cell, cell, rooms_.ofLesson[at], groups_.ofLesson[at]}, codes);

            counted = at > 0 && timetable_.lessons()[at - 1].teacher == l.teacher ? counted + 1 : 1;
            if (l.number != counted)
                numbersApart_.insert(numbersApart_.end(),
                                     {static_cast<std::int64_t>(at), l.number});
        }
    }

    // Each subject code of the lessons whose name differs from it, and the name.
    void writeSubjectNames() {
        std::vector<bool> seen(timetable_.texts().size());
        bool first = true;
        for (const TimetableLesson& lesson : timetable_.lessons()) {
            const std::uint32_t code = lesson.keys[TimetableLesson::Asig];
            if (seen[code]) continue;
            seen[code] = true;
            const std::string* name = timetable_.subjectName(code);
            if (!name || text::isBlank(*name)) continue;
            out_ += first ? "" : ",";
            first = false;
            appendInteger(out_, texts_.keptText(code));
            out_ += ',';
            appendInteger(out_, texts_.text(*name));
            buffer_.pass();
        }
    }

    // A slot's start and end as [desde,hasta], or 0 where there is none.
    void writeTimes(const std::optional<SlotTimes>& times) {
        if (!times) {
            out_ += '0';
            return;
        }
        out_ += '[';
        appendInteger(out_, texts_.text(times->desde));
        out_ += ',';
        appendInteger(out_, texts_.text(times->hasta));
        out_ += ']';
    }

    // A teacher: its fragment, NOMBRE, ABREV, X_EMPLEADO and n of EMPLEADO_n.
    void writeTeacher(const TimetableTeacher& t) {
        out_ += '[';
        appendUtf8String(out_, teacherFragment(t.number));
        for (const std::string* value :
             {&t.teacher.nombre, &t.teacher.abrev, &t.teacher.xEmpleado}) {
            out_ += ',';
            appendString(out_, *value);
        }
        out_ += ',';
        appendInteger(out_, static_cast<std::int64_t>(t.number));
        out_ += ']';
    }

    // A group: its fragment, its code and the X_UNIDAD of its first lesson.
    void writeGroups() {
        std::vector<std::uint32_t> unit(groups_.kept.size(), kNone);
        for (std::size_t at = 0; at < timetable_.lessons().size(); ++at)
            if (groups_.ofLesson[at] >= 0 && unit[groups_.ofLesson[at]] == kNone)
                unit[groups_.ofLesson[at]] = timetable_.lessons()[at].codes[4];
        const KeptTexts& kept = timetable_.texts();
        list(groups_.kept, [&, g = std::size_t{0}](std::uint32_t code) mutable {
            out_ += '[';
            appendUtf8String(out_, groupFragment(kept[code]));
            out_ += ',';
            appendString(out_, kept[code]);
            out_ += ',';
            appendString(out_, kept[unit[g++]]);
            out_ += ']';
        });
    }

    // A room: its fragment, its code and its name in AULAT.
    void writeRooms() {
        const KeptTexts& kept = timetable_.texts();
        list(rooms_.kept, [&](std::uint32_t code) {
            out_ += '[';
            appendUtf8String(out_, roomFragment(kept[code]));
            out_ += ',';
            appendString(out_, kept[code]);
            out_ += ',';
            appendString(out_, nameOr(timetable_.roomName(code), kept[code]));
            out_ += ']';
        });
    }

    // The keys of the lessons no slot has: DIA, HORA and the DIHO sought.
    void writeUnplaced() {
        bool first = true;
        for (std::size_t at = 0; at < timetable_.lessons().size(); ++at) {
            if (week_.cells[at]) continue;
            out_ += first ? "[" : ",[";
            first = false;
            appendInteger(out_, static_cast<std::int64_t>(at));
            const TimetableLesson& lesson = timetable_.lessons()[at];
            for (auto key :
                 {TimetableLesson::Dia, TimetableLesson::Hora, TimetableLesson::SlotKey}) {
                out_ += ',';
                appendString(out_, timetable_.texts()[lesson.keys[key]]);
            }
            out_ += ']';
            buffer_.pass();
        }
    }

    const Timetable& timetable_;
    const Week& week_;
    PieceBuffer& buffer_;
    std::string& out_;
    PageTexts texts_;
    Places groups_, rooms_;
    DecidedCodes codes_;
    std::vector<std::int64_t> numbersApart_;  // lesson, ACTIVIDAD_n
};

}  // namespace

void writeTimetableData(const Timetable& timetable, const Week& week, PieceBuffer& out) {
    DataWriter(timetable, week, out).write();
}

}  // namespace mirvane::report
