#include "export/tramos.h"

#include <fmt/format.h>

#include "base/error.h"
#include "base/text.h"
#include "export/record_loop.h"
#include "formats/exchange.h"

namespace mirvane::exporting {
namespace {

std::string lastTwo(std::int64_t number) {
    const std::string padded = "00" + std::to_string(number);
    return padded.substr(padded.size() - 2);
}

}  // namespace

std::string FormatoHora(std::int64_t minutes) {
    return lastTwo(minutes / 60) + ":" + lastTwo(minutes % 60);
}

std::string_view copyText(std::string_view text, std::size_t first, std::size_t count) {
    if (first < 1 || first > text.size()) return {};
    return text.substr(first - 1, count);
}

std::int64_t minutesOf(std::string_view time) {
    const std::int64_t hours = text::toInt(copyText(time, 1, 2));
    return 60 * hours + text::toInt(copyText(time, 4, 2));
}

std::string_view slotText(std::string_view slotCode) {
    return copyText(slotCode, 2, 2);
}

std::string weekdayDigit(std::string_view slotCode) {
    if (slotCode.empty()) return {};
    constexpr std::string_view kLetters = "LMXJVSD";
    const std::size_t day = kLetters.find(slotCode.front());
    if (day == std::string_view::npos) return std::string(1, slotCode.front());
    return std::to_string(day + 1);
}

void SlotTimes::addMonday(int slot, const std::string& minutes, std::size_t index) {
    InicioTramo[static_cast<std::size_t>(slot)] = minutes;
    MinutosTramo[static_cast<std::size_t>(slot)] = minutes;
    mondayRecord[static_cast<std::size_t>(slot)] = index + 1;
}

void SlotTimes::chain(const std::string& firstStart) {
    InicioTramo[1] = firstStart;
    for (std::size_t s = 2; s <= kSlots; ++s) {
        if (InicioTramo[s].empty()) continue;
        const std::size_t before = s - 1;
        // The slot before gives the start: Monday must have it, with its minutes.
        if (mondayRecord[before] == 0)
            fail(fmt::format(
                "{}. El lunes de la sección {} tiene el tramo {} (registro {}) pero "
                "no el tramo {}, de cuyo final sale la hora en que empieza",
                text::notIntegerMessage(""), formats::kTramos, s, mondayRecord[s], before));
        const std::int32_t minutes =
            recordInteger(MinutosTramo[before],
                          {formats::kTramos, mondayRecord[before] - 1,
                           "3 (minutos del tramo " + std::to_string(before) + " del lunes)"});
        InicioTramo[s] = FormatoHora(minutesOf(InicioTramo[before]) + minutes);
    }
}

}  // namespace mirvane::exporting
