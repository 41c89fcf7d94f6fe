#include "support/schools.h"

#include "core/export_run.h"
#include "export/start_hour_prompt.h"
#include "schoolgen/exchange_writer.h"
#include "schoolgen/school.h"
#include "schoolgen/soluc_writer.h"

namespace mirvane::bench {

namespace fs = std::filesystem;

ImportSchools& ImportSchools::get() {
    static ImportSchools schools;
    return schools;
}

ImportSchools::ImportSchools() {
    for (const std::string size : {"school", "stress"}) {
        const schoolgen::School school = schoolgen::generateSchool(schoolgen::sizeNamed(size), 1);
        schoolgen::writeExchangeDocument(school, document(size));
        fs::create_directory(workFolder(size));
        exporting::FixedStartHour prompt;
        core::ExportRun(workFolder(size), prompt).run(document(size));
        schoolgen::writeSoluc(schoolgen::solution(school, 1), workFolder(size));
        if (size == "stress") {
            // The same tables, and a solution that mostly does not match them.
            fs::copy(workFolder(size), mismatchedFolder());
            schoolgen::writeSoluc(schoolgen::mismatched(schoolgen::solution(school, 1), 1),
                                  mismatchedFolder());
        }
    }
}

}  // namespace mirvane::bench
