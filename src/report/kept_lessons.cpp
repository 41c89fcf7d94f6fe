#include "report/kept_lessons.h"

#include <algorithm>

namespace mirvane::report {

namespace {

std::size_t slotOf(std::uint64_t low, std::uint64_t high, std::size_t mask) {
    std::uint64_t hash = low * 0x9E3779B97F4A7C15u + high * 0xC2B2AE3D27D4EB4Fu;
    return static_cast<std::size_t>(hash ^ (hash >> 32)) & mask;
}

}  // namespace

void KeptTexts::grow() {
    slots_.assign(std::max<std::size_t>(64, slots_.size() * 2), 0);
    const std::size_t mask = slots_.size() - 1;
    for (std::uint32_t place = 0; place < prints_.size(); ++place) {
        std::size_t at = slotOf(prints_[place].low, prints_[place].high, mask);
        while (slots_[at]) at = (at + 1) & mask;
        slots_[at] = place + 1;
    }
}

std::uint32_t KeptTexts::keep(std::string_view text) {
    if ((texts_.size() + 1) * 2 > slots_.size()) grow();
    const Print print = printOf(text);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = slotOf(print.low, print.high, mask);; at = (at + 1) & mask) {
        if (const std::uint32_t slot = slots_[at]; slot == 0) {
            texts_.emplace_back(text);
            prints_.push_back(print);
            slots_[at] = static_cast<std::uint32_t>(texts_.size());
            return slots_[at] - 1;
        } else if (holds(slot - 1, text, print)) {
            return slot - 1;
        }
    }
}

KeptActivity keepActivity(std::size_t number, const ActivityCheck& c, KeptTexts& texts) {
    return {static_cast<std::uint32_t>(number),
            c.flags,
            {texts.keep(c.tarea), texts.keep(c.dia), texts.keep(c.hora), texts.keep(c.aula),
             texts.keep(c.codgrupo), texts.keep(c.asig), texts.keep(c.nivel), texts.keep(c.curso),
             texts.keep(c.slotKey)}};
}

ActivityCheck checkOf(const KeptActivity& kept, const KeptTexts& texts) {
    auto key = [&](KeptActivity::Key at) { return texts[kept.keys[at]]; };
    using K = KeptActivity;
    return {key(K::Tarea), key(K::Dia),   key(K::Hora),  key(K::Aula),    key(K::Codgrupo),
            key(K::Asig),  key(K::Nivel), key(K::Curso), key(K::SlotKey), kept.flags};
}

}  // namespace mirvane::report
