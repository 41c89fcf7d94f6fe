#include "report/timetable_data.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <numeric>
#include <unordered_map>

#include "base/text.h"
#include "report/html.h"
#include "report/import_causes.h"
#include "report/timetable_links.h"

namespace mirvane::report {
namespace {

constexpr std::uint32_t kNone = UINT32_MAX;

// One character of a JSON string; "<" too, so that no "</script>" can end
// the block that holds the data.
void appendJsonCharacter(std::string& out, char32_t c) {
    if (c == '"' || c == '\\') {
        out += '\\';
        out += static_cast<char>(c);
    } else if (c < 0x20 || c == '<') {
        static constexpr char kHex[] = "0123456789abcdef";
        out += "\\u00";
        out += kHex[c >> 4];
        out += kHex[c & 0xF];
    } else {
        text::appendUtf8(out, c);
    }
}

// A Windows-1252 text as a JSON string.
void appendJson(std::string& out, std::string_view cp1252) {
    out += '"';
    for (char c : cp1252) appendJsonCharacter(out, text::codePointOf(c));
    out += '"';
}

// A UTF-8 text of ours (a day's name, a fragment) as a JSON string.
void appendJsonUtf8(std::string& out, std::string_view utf8) {
    out += '"';
    while (!utf8.empty()) {
        const text::Decoded decoded = text::decodeUtf8(utf8);
        const std::size_t length = std::max<std::size_t>(decoded.length, 1);
        appendJsonCharacter(
            out, decoded.codePoint == text::kMalformed ? text::kReplacement : decoded.codePoint);
        utf8.remove_prefix(std::min(length, utf8.size()));
    }
    out += '"';
}

void appendInteger(std::string& out, std::int64_t n) {
    if (n < 0) {
        out += '-';
        n = -n;
    }
    html::appendNumber(out, static_cast<std::size_t>(n));
}

// The texts the lessons point to, each written once; the most used come
// first, so that most lessons name them in one or two digits.
class PageTexts {
  public:
    explicit PageTexts(const KeptTexts& kept) : kept_(kept), ofKept_(kept.size(), kNone) {}

    // A text of the timetable by its place among the kept ones.
    std::uint32_t keptText(std::uint32_t place) {
        std::uint32_t& id = ofKept_[place];
        if (id == kNone) id = add(kept_[place]);
        ++uses_[id];
        return id;
    }
    // Any other text, such as a name or a time.
    std::uint32_t text(const std::string& cp1252) {
        auto [at, added] = others_.try_emplace(cp1252, kNone);
        if (added) at->second = add(cp1252);
        ++uses_[at->second];
        return at->second;
    }

    // Puts the texts in their final order; `place` then gives each id's place.
    void order() {
        std::vector<std::uint32_t> ids(texts_.size());
        std::iota(ids.begin(), ids.end(), 0u);
        std::stable_sort(ids.begin(), ids.end(),
                         [this](std::uint32_t a, std::uint32_t b) { return uses_[a] > uses_[b]; });
        places_.resize(ids.size());
        for (std::uint32_t place = 0; place < ids.size(); ++place) places_[ids[place]] = place;
        ordered_ = std::move(ids);
    }
    std::uint32_t place(std::uint32_t id) const { return places_[id]; }

    void write(PieceBuffer& buffer) const {
        std::string& out = buffer.text();
        out += "\"textos\":[";
        for (std::size_t i = 0; i < ordered_.size(); ++i) {
            if (i) out += ',';
            appendJson(out, texts_[ordered_[i]]);
            buffer.pass();
        }
        out += "]";
    }

  private:
    std::uint32_t add(const std::string& cp1252) {
        texts_.push_back(cp1252);
        uses_.push_back(0);
        return static_cast<std::uint32_t>(texts_.size() - 1);
    }

    const KeptTexts& kept_;
    std::vector<std::uint32_t> ofKept_;  // by place among the kept texts
    std::unordered_map<std::string, std::uint32_t> others_;
    std::vector<std::string> texts_;  // by id
    std::vector<std::size_t> uses_;   // by id
    std::vector<std::uint32_t> ordered_, places_;
};

// The fields of a lesson that point to texts.
constexpr std::array<bool, kLessonFields> kTextField{false, false, false, false, false, true, false,
                                                     true,  true,  true,  true,  true,  true, true};

// The distinct groups or rooms of the lessons (blank ones left out), in
// byte order, and each lesson's place among them.
struct Places {
    std::vector<std::uint32_t> kept;  // places among the kept texts
    std::vector<std::int64_t> ofLesson;
};

Places placesOf(const Timetable& timetable, KeptActivity::Key key) {
    const KeptTexts& texts = timetable.texts();
    std::map<std::string_view, std::uint32_t> distinct;
    for (const TimetableLesson& lesson : timetable.lessons()) {
        const std::uint32_t place = lesson.activity.keys[key];
        if (!text::isBlank(texts[place])) distinct.emplace(texts[place], place);
    }
    Places places;
    std::unordered_map<std::uint32_t, std::int64_t> index;
    for (const auto& [text, place] : distinct) {
        index.emplace(place, static_cast<std::int64_t>(places.kept.size()));
        places.kept.push_back(place);
    }
    for (const TimetableLesson& lesson : timetable.lessons()) {
        auto at = index.find(lesson.activity.keys[key]);
        places.ofLesson.push_back(at == index.end() ? -1 : at->second);
    }
    return places;
}

std::int64_t causeBits(const LessonFlags& flags) {
    std::int64_t bits = 0;
    for (Cause cause : Causes(flags)) bits |= std::int64_t{1} << static_cast<int>(cause);
    return bits;
}

// A name, or the code where the table gives none.
const std::string& nameOr(const std::unordered_map<std::string, std::string>& names,
                          const std::string& code) {
    auto at = names.find(code);
    return at == names.end() || text::isBlank(at->second) ? code : at->second;
}

class DataWriter {
  public:
    DataWriter(const Timetable& timetable, const Week& week, PieceBuffer& buffer)
        : timetable_(timetable),
          week_(week),
          buffer_(buffer),
          out_(buffer.text()),
          texts_(timetable.texts()),
          groups_(placesOf(timetable, KeptActivity::Codgrupo)),
          rooms_(placesOf(timetable, KeptActivity::Aula)) {}

    void write() {
        // Every text is counted before any is written, for their order.
        const std::vector<std::int64_t> lessons = lessonRows();
        std::vector<std::int64_t> times, rowTimes;
        for (const auto& cell : week_.times) {
            times.push_back(cell ? text(cell->desde) : -1);
            times.push_back(cell ? text(cell->hasta) : -1);
        }
        for (const SlotTimes& row : week_.rowTimes) {
            rowTimes.push_back(text(row.desde));
            rowTimes.push_back(text(row.hasta));
        }
        const std::vector<std::int64_t> subjectNames = subjectNameRows();
        texts_.order();

        out_ += '{';
        texts_.write(buffer_);
        out_ += ",\n\"dias\":[";
        list(week_.days, [&](const std::string& day) { appendJsonUtf8(out_, dayName(day)); });
        out_ += "],\n\"tramos\":[";
        list(week_.slots, [&](const std::string& slot) { appendJson(out_, slot); });
        out_ += "],\n\"horas\":[";
        writeTimes(times);
        out_ += "],\n\"horasFila\":[";
        writeTimes(rowTimes);
        out_ += "],\n\"profesores\":[";
        list(timetable_.teachers(), [&](const TimetableTeacher& t) {
            out_ += '[';
            appendJsonUtf8(out_, teacherFragment(t.number));
            for (const std::string* value :
                 {&t.teacher.nombre, &t.teacher.abrev, &t.teacher.xEmpleado}) {
                out_ += ',';
                appendJson(out_, *value);
            }
            out_ += ',';
            appendInteger(out_, static_cast<std::int64_t>(t.number));
            out_ += ']';
        });
        out_ += "],\n\"grupos\":[";
        writeGroups();
        out_ += "],\n\"aulas\":[";
        writeRooms();
        out_ += "],\n\"nombresAsignatura\":[";
        writeTextPlaces(subjectNames);
        out_ += "],\n\"clases\":[";
        writeLessons(lessons);
        out_ += "],\n\"sinTramo\":[";
        writeUnplaced();
        out_ += "],\n\"coincidencias\":[";
        list(week_.coincidences, [&](const std::vector<std::size_t>& set) {
            out_ += '[';
            list(set, [&](std::size_t lesson) {
                appendInteger(out_, static_cast<std::int64_t>(lesson));
            });
            out_ += ']';
        });
        out_ += "]}";
    }

  private:
    std::int64_t text(const std::string& cp1252) { return texts_.text(cp1252); }

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

    std::vector<std::int64_t> lessonRows() {
        std::vector<std::int64_t> rows;
        rows.reserve(timetable_.lessons().size() * kLessonFields);
        for (std::size_t at = 0; at < timetable_.lessons().size(); ++at) {
            const TimetableLesson& l = timetable_.lessons()[at];
            const KeptActivity& a = l.activity;
            const auto& cell = week_.cells[at];
            rows.insert(rows.end(),
                        {l.teacher, a.number, cell ? static_cast<std::int64_t>(*cell) : -1,
                         groups_.ofLesson[at], rooms_.ofLesson[at],
                         texts_.keptText(a.keys[KeptActivity::Asig]), causeBits(a.flags),
                         texts_.keptText(a.keys[KeptActivity::Tarea])});
            for (std::uint32_t code : l.codes) rows.push_back(texts_.keptText(code));
        }
        return rows;
    }

    // Each subject code of the lessons whose name differs from it, and the name.
    std::vector<std::int64_t> subjectNameRows() {
        std::vector<std::int64_t> pairs;
        std::vector<bool> seen(timetable_.texts().size());
        for (const TimetableLesson& lesson : timetable_.lessons()) {
            const std::uint32_t code = lesson.activity.keys[KeptActivity::Asig];
            if (seen[code]) continue;
            seen[code] = true;
            const std::string& name = nameOr(timetable_.names().subjects, timetable_.texts()[code]);
            if (&name == &timetable_.texts()[code]) continue;
            pairs.push_back(texts_.keptText(code));
            pairs.push_back(text(name));
        }
        return pairs;
    }

    void writeTextPlaces(const std::vector<std::int64_t>& ids) {
        list(ids, [&](std::int64_t id) {
            appendInteger(out_, texts_.place(static_cast<std::uint32_t>(id)));
        });
    }

    // Pairs of start and end as [desde,hasta], or 0 where there are none.
    void writeTimes(const std::vector<std::int64_t>& times) {
        for (std::size_t i = 0; i < times.size(); i += 2) {
            if (i) out_ += ',';
            if (times[i] < 0) {
                out_ += '0';
                continue;
            }
            out_ += '[';
            appendInteger(out_, texts_.place(static_cast<std::uint32_t>(times[i])));
            out_ += ',';
            appendInteger(out_, texts_.place(static_cast<std::uint32_t>(times[i + 1])));
            out_ += ']';
        }
    }

    void writeLessons(const std::vector<std::int64_t>& rows) {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (i) out_ += ',';
            const std::size_t field = i % kLessonFields;
            appendInteger(out_, kTextField[field]
                                    ? texts_.place(static_cast<std::uint32_t>(rows[i]))
                                    : rows[i]);
            if (field == kLessonFields - 1) buffer_.pass();
        }
    }

    // A group: its fragment, its code and the X_UNIDAD of its first lesson.
    void writeGroups() {
        std::vector<std::uint32_t> unit(groups_.kept.size(), kNone);
        for (std::size_t at = 0; at < timetable_.lessons().size(); ++at)
            if (groups_.ofLesson[at] >= 0 && unit[groups_.ofLesson[at]] == kNone)
                unit[groups_.ofLesson[at]] = timetable_.lessons()[at].codes[4];
        const KeptTexts& kept = timetable_.texts();
        for (std::size_t g = 0; g < groups_.kept.size(); ++g) {
            if (g) out_ += ',';
            const std::string& code = kept[groups_.kept[g]];
            out_ += '[';
            appendJsonUtf8(out_, groupFragment(code));
            out_ += ',';
            appendJson(out_, code);
            out_ += ',';
            appendJson(out_, kept[unit[g]]);
            out_ += ']';
        }
    }

    // A room: its fragment, its code and its name in AULAT.
    void writeRooms() {
        const KeptTexts& kept = timetable_.texts();
        for (std::size_t r = 0; r < rooms_.kept.size(); ++r) {
            if (r) out_ += ',';
            const std::string& code = kept[rooms_.kept[r]];
            out_ += '[';
            appendJsonUtf8(out_, roomFragment(code));
            out_ += ',';
            appendJson(out_, code);
            out_ += ',';
            appendJson(out_, nameOr(timetable_.names().rooms, code));
            out_ += ']';
        }
    }

    // The keys of the lessons no slot has: DIA, HORA and the DIHO sought.
    void writeUnplaced() {
        bool first = true;
        for (std::size_t at = 0; at < timetable_.lessons().size(); ++at) {
            if (week_.cells[at]) continue;
            if (!first) out_ += ',';
            first = false;
            const KeptActivity& a = timetable_.lessons()[at].activity;
            out_ += '[';
            appendInteger(out_, static_cast<std::int64_t>(at));
            for (KeptActivity::Key key :
                 {KeptActivity::Dia, KeptActivity::Hora, KeptActivity::SlotKey}) {
                out_ += ',';
                appendJson(out_, timetable_.texts()[a.keys[key]]);
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
};

}  // namespace

void writeTimetableData(const Timetable& timetable, const Week& week, PieceBuffer& out) {
    DataWriter(timetable, week, out).write();
}

}  // namespace mirvane::report
