#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "import/lesson.h"

// Lessons kept for a page written after the build: thousands of lessons
// share a few thousand key texts, each kept once.
namespace mirvane::report {

using importing::ActivityCheck;
using importing::LessonFlags;

// Texts kept once however often they are kept.
class KeptTexts {
  public:
    // The place of `text`, the same for equal texts.
    std::uint32_t keep(const std::string& text);
    const std::string& operator[](std::uint32_t at) const { return *texts_[at]; }
    std::size_t size() const { return texts_.size(); }

  private:
    std::unordered_map<std::string, std::uint32_t> places_;
    std::vector<const std::string*> texts_;  // by place: the keys of places_, which stay put
};

// A lesson as kept: its number, what its lookups found, and its keys as
// places among kept texts.
struct KeptActivity {
    // The keys, in the order of ActivityCheck's.
    enum Key { Tarea, Dia, Hora, Aula, Codgrupo, Asig, Nivel, Curso, SlotKey, KeyCount };

    std::uint32_t number = 0;  // ACTIVIDAD_n
    LessonFlags flags;
    std::array<std::uint32_t, KeyCount> keys{};
};

KeptActivity keepActivity(std::size_t number, const ActivityCheck& check, KeptTexts& texts);
ActivityCheck checkOf(const KeptActivity& kept, const KeptTexts& texts);

}  // namespace mirvane::report
