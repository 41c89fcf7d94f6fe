#include "report/timetable.h"

namespace mirvane::report {
namespace {

constexpr std::uint32_t kNotKept = UINT32_MAX;

// The texts kept beside another's place, each a field of beside_.
enum Beside { DiaOfSlot, HoraOfSlot, Actividad, Diasemana, Tramo, Depcentro, Unidad, Materiaomc };

}  // namespace

// Tens of thousands of lessons each tell thirteen texts, most of them
// decided by a few: the day and slot codes by the DIHO sought, DEPCENTRO by
// the room, X_UNIDAD by the group. Those are compared with the text kept
// beside the same key last time, and looked up among all only when they
// differ, which keeps recording the page a small part of the import.
std::uint32_t Timetable::keepBeside(std::size_t field, std::uint32_t key, const std::string& text) {
    std::vector<std::uint32_t>& last = beside_[field];
    if (key < last.size() && last[key] != kNotKept && texts_.holds(last[key], text))
        return last[key];
    if (key >= last.size()) last.resize(key + 1, kNotKept);
    return last[key] = texts_.keep(text);
}

// A key of SOLUC: a teacher's lessons often share the one before's.
std::uint32_t Timetable::keepKey(std::size_t key, const std::string& text) {
    std::uint32_t& before = lastKeys_[key];
    if (before != kNotKept && texts_.holds(before, text)) return before;
    return before = texts_.keep(text);
}

void Timetable::lesson(std::size_t number, const ActivityCheck& c, const ResolvedCodes& codes) {
    using K = TimetableLesson;
    TimetableLesson& l = lessons_.emplace_back();
    l.teacher = static_cast<std::uint32_t>(teachers_.size() - 1);
    l.number = static_cast<std::uint32_t>(number);
    l.flags = c.flags;
    marked_ += !c.flags.faithful();
    l.keys[K::Tarea] = keepKey(K::Tarea, c.tarea);
    l.keys[K::Aula] = keepKey(K::Aula, c.aula);
    l.keys[K::Codgrupo] = keepKey(K::Codgrupo, c.codgrupo);
    l.keys[K::Asig] = keepKey(K::Asig, c.asig);
    const std::uint32_t slot = l.keys[K::SlotKey] = keepKey(K::SlotKey, c.slotKey);
    l.keys[K::Dia] = keepBeside(DiaOfSlot, slot, c.dia);
    l.keys[K::Hora] = keepBeside(HoraOfSlot, slot, c.hora);
    l.codes = {keepBeside(Actividad, l.keys[K::Tarea], codes.actividad),
               keepBeside(Diasemana, slot, codes.diasemana),
               keepBeside(Tramo, slot, codes.tramo),
               keepBeside(Depcentro, l.keys[K::Aula], codes.depcentro),
               keepBeside(Unidad, l.keys[K::Codgrupo], codes.unidad),
               keepBeside(Materiaomc, l.keys[K::Asig], codes.materiaomc)};
}

}  // namespace mirvane::report
