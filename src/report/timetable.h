#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "import/import_observer.h"
#include "report/import_causes.h"
#include "report/kept_lessons.h"

// Every lesson of an import as Delphos will receive it, recorded as the
// build tells it, for the timetable page.
namespace mirvane::report {

using importing::SlotRow;

struct TimetableTeacher {
    Teacher teacher;
    std::size_t number = 0;  // EMPLEADO_n
};

// What the page shows of a lesson; its texts as places among the kept ones.
struct TimetableLesson {
    enum Key { Tarea, Dia, Hora, Aula, Codgrupo, Asig, SlotKey, KeyCount };

    std::uint32_t teacher = 0;  // into teachers()
    std::uint32_t number = 0;   // ACTIVIDAD_n
    LessonFlags flags;
    std::array<std::uint32_t, KeyCount> keys{};  // of SOLUC, and the DIHO sought
    std::array<std::uint32_t, 6> codes{};        // what the result document carries
};

// The names the page shows beside codes, by the place of the code among the
// kept texts: the page finds them by place, never by text.
class CodeNames {
  public:
    // The first name told for a code stays, as the lookups find the first row.
    void add(std::uint32_t code, const std::string& name) {
        if (code >= byCode_.size()) byCode_.resize(code + 1, kNone);
        if (byCode_[code] != kNone) return;
        byCode_[code] = static_cast<std::uint32_t>(names_.size());
        names_.push_back(name);
    }
    const std::string* find(std::uint32_t code) const {
        return code < byCode_.size() && byCode_[code] != kNone ? &names_[byCode_[code]] : nullptr;
    }

  private:
    static constexpr std::uint32_t kNone = UINT32_MAX;
    std::vector<std::uint32_t> byCode_;  // into names_
    std::vector<std::string> names_;
};

class Timetable final : public importing::ImportObserver {
  public:
    Timetable() { lastKeys_.fill(UINT32_MAX); }

    // Room for them all at once: a large school's lessons take megabytes.
    void expectLessons(std::size_t rows) override { lessons_.reserve(rows); }
    void beginTeacher(const Teacher& teacher, std::size_t number) override {
        teachers_.push_back({teacher, number});
    }
    // A lesson of the teacher begun last.
    void lesson(std::size_t number, const ActivityCheck& check,
                const ResolvedCodes& codes) override;
    void subject(const std::string& cod, const std::string& nombre) override {
        subjectNames_.add(texts_.keep(cod), nombre);
    }
    void room(const std::string& abrev, const std::string& nombre) override {
        roomNames_.add(texts_.keep(abrev), nombre);
    }
    void slot(const SlotRow& row) override { slots_.push_back(row); }

    // The texts the lessons' keys and codes point into: equal texts, equal places.
    const KeptTexts& texts() const { return texts_; }
    // NOMBRE of the first ASIGNOMT row whose COD, or AULAT row whose ABREV,
    // is the kept text at `code`; nothing where no row has it.
    const std::string* subjectName(std::uint32_t code) const { return subjectNames_.find(code); }
    const std::string* roomName(std::uint32_t code) const { return roomNames_.find(code); }
    // DIASHORAST, in stored order.
    const std::vector<SlotRow>& slots() const { return slots_; }
    const std::vector<TimetableTeacher>& teachers() const { return teachers_; }
    const std::vector<TimetableLesson>& lessons() const { return lessons_; }
    // The lessons that reach Delphos with a field empty or wrong.
    std::size_t marked() const { return marked_; }

  private:
    std::uint32_t keepBeside(std::size_t field, std::uint32_t key, const std::string& text);
    std::uint32_t keepKey(std::size_t key, const std::string& text);

    std::vector<TimetableTeacher> teachers_;
    std::vector<TimetableLesson> lessons_;
    std::size_t marked_ = 0;
    KeptTexts texts_;
    // Per text that usually decides another (a room its DEPCENTRO), the
    // place of the text kept beside it last, by field.
    std::array<std::vector<std::uint32_t>, 8> beside_;
    // The place of each key of the lesson told last.
    std::array<std::uint32_t, TimetableLesson::KeyCount> lastKeys_;
    CodeNames subjectNames_, roomNames_;
    std::vector<SlotRow> slots_;
};

}  // namespace mirvane::report
