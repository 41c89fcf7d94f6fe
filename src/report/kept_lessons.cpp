#include "report/kept_lessons.h"

namespace mirvane::report {

std::uint32_t KeptTexts::keep(const std::string& text) {
    auto [at, added] = places_.try_emplace(text, static_cast<std::uint32_t>(texts_.size()));
    if (added) texts_.push_back(&at->first);
    return at->second;
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
