#include "dbf/messages.h"

#include <cerrno>
#include <cstring>

#include "base/error.h"

namespace mirvane::dbf {

std::string shown(const std::filesystem::path& file) {
    return file.string();
}

void failDamaged(const std::filesystem::path& file, std::string_view fault) {
    fail("La tabla " + shown(file) + " está dañada: " + std::string(fault) +
         ". Vuelva a generarla o recupere una copia de seguridad.");
}

std::string systemReason() {
    switch (errno) {
        case ENOSPC:
        case EDQUOT:
            return "no queda espacio en el disco";
        case EACCES:
        case EPERM:
            return "no tiene permiso para usar el archivo";
        case EROFS:
            return "el disco es de solo lectura";
        case EIO:
            return "error de entrada/salida del disco";
        case ENOENT:
            return "el archivo no existe";
        default:
            return std::strerror(errno);
    }
}

}  // namespace mirvane::dbf
