#include "report/import_warnings.h"

#include <algorithm>
#include <cstring>

namespace mirvane::report {
namespace {

// An example's keys in the order they are kept.
template <typename Check>
auto exampleKeys(Check& c) {
    return std::array{&c.tarea, &c.dia,   &c.hora,  &c.aula,   &c.codgrupo,
                      &c.asig,  &c.nivel, &c.curso, &c.slotKey};
}

// For the recording thread the records come packed one after another, in
// batches of about kBatch bytes: the two threads meet once a batch, and a
// batch is a single block however many records it holds.
constexpr std::size_t kBatch = std::size_t{1} << 16;
enum class Record : char { Teacher, Activity };

std::size_t packedSize(const std::string& text) {
    return sizeof(std::uint32_t) + text.size();
}

// Writes one record into the room made for it.
class Packer {
  public:
    explicit Packer(char* at) : at_(at) {}
    void byte(char c) { *at_++ = c; }
    void number(std::uint32_t n) {
        std::memcpy(at_, &n, sizeof n);
        at_ += sizeof n;
    }
    void text(const std::string& text) {
        number(static_cast<std::uint32_t>(text.size()));
        std::memcpy(at_, text.data(), text.size());
        at_ += text.size();
    }

  private:
    char* at_;
};

class Unpacker {
  public:
    explicit Unpacker(std::string_view records) : rest_(records) {}
    bool done() const { return rest_.empty(); }
    char byte() {
        const char c = rest_.front();
        rest_.remove_prefix(1);
        return c;
    }
    std::uint32_t number() {
        std::uint32_t n;
        std::memcpy(&n, rest_.data(), sizeof n);
        rest_.remove_prefix(sizeof n);
        return n;
    }
    void text(std::string& into) {
        const std::uint32_t size = number();
        into.assign(rest_.data(), size);
        rest_.remove_prefix(size);
    }

  private:
    std::string_view rest_;
};

constexpr std::uint8_t kSlot = 1, kRoom = 2, kGroup = 4, kSubject = 8;

}  // namespace

ImportWarnings::ImportWarnings(PieceSink csv, Recording recording) {
    csv_.emplace(std::move(csv));
    if (recording == Recording::Beside) {
        packed_.resize(kBatch);
        beside_ = std::make_unique<BackgroundQueue<std::string>>(
            [this](std::string& records) { recordPacked(records); });
    }
}

void ImportWarnings::beginTeacher(Teacher teacher, std::size_t number) {
    if (!beside_) return recordTeacher(std::move(teacher), number);
    const std::array texts{&teacher.xEmpleado, &teacher.abrev, &teacher.nombre};
    std::size_t bytes = 1 + sizeof(std::uint32_t);
    for (const std::string* text : texts) bytes += packedSize(*text);
    Packer record(room(bytes));
    record.byte(static_cast<char>(Record::Teacher));
    record.number(static_cast<std::uint32_t>(number));
    for (const std::string* text : texts) record.text(*text);
}

void ImportWarnings::activity(std::size_t number, const ActivityCheck& check) {
    if (check.faithful()) return;
    if (!beside_) return recordActivity(number, check);
    const auto keys = exampleKeys(check);
    std::size_t bytes = 3 + sizeof(std::uint32_t);
    for (const std::string* key : keys) bytes += packedSize(*key);
    Packer record(room(bytes));
    record.byte(static_cast<char>(Record::Activity));
    record.number(static_cast<std::uint32_t>(number));
    record.byte(static_cast<char>(check.actividad));
    record.byte(static_cast<char>((check.slotFound ? kSlot : 0) | (check.roomFound ? kRoom : 0) |
                                  (check.groupFound ? kGroup : 0) |
                                  (check.subjectFound ? kSubject : 0)));
    for (const std::string* key : keys) record.text(*key);
}

char* ImportWarnings::room(std::size_t bytes) {
    if (used_ + bytes > packed_.size()) [[unlikely]] {
        if (used_ > 0) handOn();
        if (bytes > packed_.size()) packed_.resize(bytes);
    }
    char* const at = packed_.data() + used_;
    used_ += bytes;
    return at;
}

void ImportWarnings::handOn() {
    packed_.resize(used_);
    packed_ = beside_->hand(std::move(packed_));
    packed_.resize(kBatch);
    used_ = 0;
}

void ImportWarnings::recordPacked(std::string_view records) {
    Unpacker in(records);
    Teacher teacher;
    ActivityCheck check;
    while (!in.done()) {
        if (static_cast<Record>(in.byte()) == Record::Teacher) {
            const std::uint32_t number = in.number();
            for (std::string* text : {&teacher.xEmpleado, &teacher.abrev, &teacher.nombre})
                in.text(*text);
            recordTeacher(std::move(teacher), number);
            continue;
        }
        const std::uint32_t number = in.number();
        check.actividad = static_cast<ActivityCode>(in.byte());
        const auto found = static_cast<std::uint8_t>(in.byte());
        check.slotFound = found & kSlot;
        check.roomFound = found & kRoom;
        check.groupFound = found & kGroup;
        check.subjectFound = found & kSubject;
        for (std::string* key : exampleKeys(check)) in.text(*key);
        recordActivity(number, check);
    }
}

void ImportWarnings::recordTeacher(Teacher&& teacher, std::size_t number) {
    current_ = std::move(teacher);
    currentNumber_ = number;
    currentKept_ = false;
}

void ImportWarnings::recordActivity(std::size_t number, const ActivityCheck& check) {
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
    if (beside_) {
        // The last records, with no room made for more.
        packed_.resize(used_);
        beside_->hand(std::move(packed_));
        packed_ = {};
        used_ = 0;
        beside_->drain();
    }
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
