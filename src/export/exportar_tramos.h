#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "export/export_observer.h"
#include "export/start_hour_prompt.h"
#include "formats/exchange.h"

namespace mirvane::exporting {

// DIASHORAST from "TRAMOS": asks for the start time of the first lesson, works
// out every slot's start time from Monday's slots, and writes one row per
// record with its slot's start and its own end. Returns the number of rows;
// given warnings, records in them the values cut and the slots whose DIHO the
// import will not find.
std::size_t ExportarTramos(const formats::ExchangeRecords& exchange,
                           const std::filesystem::path& folder, StartHourPrompt& prompt,
                           ExportObserver* warnings = nullptr);

// Shows the prompt until its time has an hour of at most 23 and minutes of at
// most 59, and returns that time's first five characters. A time that does
// not convert raises the conversion error.
std::string askStartHour(StartHourPrompt& prompt);

}  // namespace mirvane::exporting
