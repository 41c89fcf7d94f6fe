// mirvane-schoolgen: writes a synthetic school's exchange document, for trying
// the runs on a school of realistic size.

#include <iostream>

#include <CLI/CLI.hpp>

#include "base/error.h"
#include "schoolgen/exchange_writer.h"
#include "schoolgen/school.h"
#include "schoolgen/soluc_writer.h"

int main(int argc, char** argv) {
    CLI::App app{"Escribe el documento de intercambio de un centro sintético.",
                 "mirvane-schoolgen"};
    std::string size = "school";
    std::uint32_t seed = 1;
    std::string output;
    app.add_option("--tamano", size, "school (unos 150 profesores) o stress (diez veces más)")
        ->check(CLI::IsMember({"school", "stress"}));
    app.add_option("--semilla", seed, "La misma semilla da el mismo centro");
    app.add_option("SALIDA", output, "Documento XML que se escribe")->required();
    std::string solucFolder;
    app.add_option("--soluc", solucFolder,
                   "Carpeta donde se escribe además una solución SOLUC.DBF para el centro");
    bool mismatch = false;
    app.add_flag("--soluc-desajustada", mismatch,
                 "La solución nombra grupos, aulas y tramos que las tablas de trabajo no tienen "
                 "(miles de avisos de pocas causas)");
    CLI11_PARSE(app, argc, argv);

    try {
        using namespace mirvane::schoolgen;
        const School school = generateSchool(sizeNamed(size), seed);
        writeExchangeDocument(school, output);
        if (!solucFolder.empty()) {
            std::vector<Lesson> lessons = solution(school, seed);
            if (mismatch) lessons = mismatched(std::move(lessons), seed);
            writeSoluc(lessons, solucFolder);
        }
    } catch (const mirvane::Error& error) {
        std::cerr << error.what() << "\n";
        return 1;
    }
    return 0;
}
