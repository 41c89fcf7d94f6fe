#pragma once

#include <filesystem>
#include <string>

#include "schoolgen/school.h"

namespace mirvane::schoolgen {

// The school as Delphos sends it: an exchange document in ISO-8859-1, one
// section per catalogue, each record's fields in the order the export reads
// them, the time slots labelled.
std::string exchangeDocument(const School& school);

void writeExchangeDocument(const School& school, const std::filesystem::path& file);

}  // namespace mirvane::schoolgen
