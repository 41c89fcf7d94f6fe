// Opens arbitrary bytes as a table and reads every field of every row in
// every way. The engine must answer with its own error or with values,
// never read outside the bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/error.h"
#include "dbf/reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace mirvane;
    try {
        const dbf::StoredRows rows(std::string(reinterpret_cast<const char*>(data), size),
                                   "fuzz.dbf");
        for (std::uint32_t number : rows.visible()) {
            for (const dbf::FieldDescriptor& field : rows.layout().fields) {
                const dbf::FieldValue value = rows.value(field, rows.record(number));
                (void)value.text();
                try {
                    (void)value.integer();
                } catch (const Error&) {
                }
                try {
                    (void)value.number();
                } catch (const Error&) {
                }
            }
        }
    } catch (const Error&) {
    }
    return 0;
}
