#include "report/timetable.h"

namespace mirvane::report {

void Timetable::lesson(std::size_t number, const ActivityCheck& c, const ResolvedCodes& codes) {
    auto keep = [this](const std::string& text) { return texts_.keep(text); };
    lessons_.push_back({static_cast<std::uint32_t>(teachers_.size() - 1),
                        keepActivity(number, c, texts_),
                        {keep(codes.actividad), keep(codes.diasemana), keep(codes.tramo),
                         keep(codes.depcentro), keep(codes.unidad), keep(codes.materiaomc)}});
}

ResolvedCodes Timetable::codes(const TimetableLesson& lesson) const {
    auto code = [&](std::size_t at) { return texts_[lesson.codes[at]]; };
    return {code(0), code(1), code(2), code(3), code(4), code(5)};
}

}  // namespace mirvane::report
