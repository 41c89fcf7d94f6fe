// The six export writers on any document: every input either gives the six
// tables or raises mirvane::Error; nothing else may happen (crash, leak,
// undefined behaviour, another exception).

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "base/error.h"
#include "export/exportar_asignaturas.h"
#include "export/exportar_catalogos.h"
#include "export/exportar_materias.h"
#include "export/exportar_tramos.h"
#include "export/start_hour_prompt.h"
#include "formats/exchange.h"
#include "formats/work_tables.h"

namespace {

// One work folder for the whole fuzzing session, removed at its end.
struct WorkFolder {
    WorkFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "mirvane-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        path = pattern;
    }
    ~WorkFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::filesystem::path path;
};

const std::filesystem::path& workFolder() {
    static const WorkFolder folder;
    return folder.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace mirvane;
    const std::filesystem::path& folder = workFolder();
    try {
        const auto document = formats::ExchangeRecords::readMemory(
            std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.xml");
        formats::WorkTableComponents components(folder);
        exporting::FixedStartHour prompt;
        exporting::ExportarMaterias(document, folder);
        exporting::ExportarProfesores(document, folder);
        exporting::ExportarAulas(document, folder);
        exporting::ExportarGrupos(document, folder);
        exporting::ExportarAsignaturas(document, folder, components.wwTableNomAsg);
        exporting::ExportarTramos(document, folder, prompt);
    } catch (const Error&) {
        // A refused document: the message is what the user would see.
    }
    return 0;
}
