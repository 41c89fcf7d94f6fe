#include "report/import_lesson.h"

namespace mirvane::report {

std::uint32_t KeptTexts::keep(std::string&& text) {
    auto [at, added] = index_.try_emplace(text, static_cast<std::uint32_t>(texts_.size()));
    if (added) texts_.push_back(std::move(text));
    return at->second;
}

std::uint32_t KeptTexts::keep(std::string&& text, std::size_t column) {
    std::uint32_t& last = lastOfColumn_.at(column);
    if (columnStarted_[column] && texts_[last] == text) return last;
    columnStarted_[column] = true;
    return last = keep(std::move(text));
}

KeptActivity keepActivity(std::size_t number, ActivityCheck&& c, KeptTexts& texts) {
    std::size_t column = 0;
    auto keep = [&](std::string& text) { return texts.keep(std::move(text), column++); };
    return {static_cast<std::uint32_t>(number),
            c.actividad,
            c.slotFound,
            c.roomFound,
            c.groupFound,
            c.subjectFound,
            {keep(c.tarea), keep(c.dia), keep(c.hora), keep(c.aula), keep(c.codgrupo), keep(c.asig),
             keep(c.nivel), keep(c.curso), keep(c.slotKey)}};
}

ActivityCheck checkOf(const KeptActivity& kept, const KeptTexts& texts) {
    auto key = [&](std::size_t at) { return texts[kept.keys[at]]; };
    return {key(0),         key(1),         key(2),          key(3),           key(4),
            key(5),         key(6),         key(7),          key(8),           kept.actividad,
            kept.slotFound, kept.roomFound, kept.groupFound, kept.subjectFound};
}

}  // namespace mirvane::report
