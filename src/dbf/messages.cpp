#include "dbf/messages.h"

#include "base/error.h"
#include "base/paths.h"

namespace mirvane::dbf {

std::string shown(const std::filesystem::path& file) {
    return paths::toUtf8(file);
}

void failDamaged(const std::filesystem::path& file, std::string_view fault) {
    fail("La tabla " + shown(file) + " está dañada: " + std::string(fault) +
         ". Vuelva a generarla o recupere una copia de seguridad.");
}

}  // namespace mirvane::dbf
