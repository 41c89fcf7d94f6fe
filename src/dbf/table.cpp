#include <algorithm>
#include <optional>
#include <vector>

#include "base/error.h"
#include "base/paths.h"
#include "base/safe_file.h"
#include "base/text.h"
#include "dbf/filter.h"
#include "dbf/header.h"
#include "dbf/lock.h"
#include "dbf/messages.h"
#include "dbf/reader.h"
#include "dbf/record.h"
#include "dbf/table.h"
#include "dbf/writer.h"

namespace mirvane::dbf {
namespace {

// The physical fields of the program's logical types. N(11,0) holds every
// 32-bit whole number with its sign; N(19,9) holds every number of minutes
// of a 32-bit count divided by 60 with nine decimals, sign included, and
// stays within the width dBase III readers accept.
constexpr std::uint8_t kIntegerWidth = 11;
constexpr std::uint8_t kFloatWidth = 19;
constexpr std::uint8_t kFloatDecimals = 9;
constexpr std::size_t kMaxNameLength = 10;
constexpr int kMaxCharacterWidth = 254;

// The version byte of a dBase III table without memo, and the language
// driver that readers take for Windows-1252.
constexpr std::uint8_t kDbase3 = 0x03;
constexpr std::uint8_t kWindows1252Driver = 0x57;

bool isValidName(std::string_view name) {
    if (name.empty() || name.size() > kMaxNameLength) return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
               c == '_';
    });
}

}  // namespace

struct Table::Impl {
    std::string componentName;
    std::filesystem::path folder;
    std::string tableName;
    bool exclusive = false;
    std::vector<FieldDescriptor> definitions;
    std::optional<FilterCondition> filter;
    bool filtered = false;

    // While the table is open.
    std::unique_ptr<LockedFile> file;
    StoredRows rows;
    std::unique_ptr<RecordAppender> appender;
    bool appending = false;
    std::string newRecord;
    FilterIndex index;
    const std::vector<std::uint32_t>* scan = &rows.visible();
    std::size_t position = 0;

    std::filesystem::path path() const {
        return paths::inFolder(folder, tableName.empty() ? std::string() : tableName);
    }

    [[noreturn]] void failNotOpen() const {
        fail("La tabla " + shown(path()) + " no está abierta.");
    }
    void requireOpen() const {
        if (!file) failNotOpen();
    }

    const FieldDescriptor& field(std::string_view name) const {
        if (const FieldDescriptor* found = rows.find(name)) return *found;
        fail((componentName.empty() ? std::string() : componentName + ": ") + "Field '" +
             text::toUtf8(name) + "' not found");
    }

    // A record of the table, read back from the file when it is one of the
    // rows appended before the last (they are not kept).
    std::string_view record(std::uint32_t number) {
        if (!rows.holds(number)) readBackAppended();
        return rows.record(number);
    }

    void readBackAppended() {
        appender->flush();
        const Layout& layout = rows.layout();
        const std::uint32_t from = rows.held();
        const std::uint32_t count = rows.size() - 1 - from;  // the last one is held
        rows.holdAppended(
            file->readAt(layout.headerLength + std::uint64_t{from} * layout.recordLength,
                         std::size_t{count} * layout.recordLength));
    }

    std::string_view current() {
        if (appending) return newRecord;
        if (position < scan->size()) return record((*scan)[position]);
        return rows.blank();
    }

    FieldValue value(std::string_view name) {
        requireOpen();
        const FieldDescriptor& found = field(name);
        return rows.value(found, current());
    }

    FieldValue value(FieldHandle handle) {
        requireOpen();
        const std::vector<FieldDescriptor>& fields = rows.layout().fields;
        if (handle.index >= fields.size())
            fail("La tabla " + shown(path()) + " ya no tiene el campo que se buscó.");
        return rows.value(fields[handle.index], current());
    }

    FilterIndex::TextOf textOf(const FieldDescriptor& filterField) {
        return [this, &filterField](std::uint32_t number) {
            return rows.value(filterField, record(number)).text();
        };
    }

    void refreshScan() {
        scan = &rows.visible();
        if (!filtered || !filter) return;
        const FieldDescriptor& filterField = field(filter->field);
        scan = &index.matches(filterField.name, filter->value, rows.visible(), textOf(filterField));
    }

    void load() {
        const std::filesystem::path target = path();
        const std::string action = "No se puede abrir la tabla";
        if (paths::kindOf(folder) != os::Kind::Directory)
            fail(action + " " + shown(target) + ": no existe la carpeta " + shown(folder) + ".");
        auto opened = std::make_unique<LockedFile>(
            target, exclusive ? LockMode::Exclusive : LockMode::Shared, action);
        rows = StoredRows(opened->readAll(), target);
        file = std::move(opened);
        index.clear();
        appending = false;
        position = 0;
        try {
            refreshScan();
        } catch (...) {
            release();
            throw;
        }
    }

    // Gives up the file and everything read from it.
    void release() {
        appender.reset();
        file.reset();
        rows = StoredRows();
        index.clear();
        scan = &rows.visible();
        position = 0;
        appending = false;
    }

    void post() {
        if (!appending)
            fail("No se puede guardar la fila en la tabla " + shown(file->path()) +
                 ": no se está añadiendo ninguna.");
        if (!appender)
            appender = std::make_unique<RecordAppender>(*file, rows.layout(), rows.size());
        appender->add(newRecord);
        const std::uint32_t number = rows.append(newRecord);
        appending = false;
        index.clear();
        refreshScan();
        // The cursor stays on the posted row when the scan sees it.
        position = !scan->empty() && scan->back() == number ? scan->size() - 1 : scan->size();
    }

    void postPending() {
        if (appending) post();
    }
};

Table::Table(std::string componentName) : impl_(std::make_unique<Impl>()) {
    impl_->componentName = std::move(componentName);
}

Table::~Table() {
    try {
        close();
    } catch (...) {
        // A destructor cannot report; close() explicitly to see write failures.
    }
}

const std::string& Table::componentName() const {
    return impl_->componentName;
}

void Table::setDatabaseName(const std::filesystem::path& folder) {
    impl_->folder = folder;
}

void Table::setTableName(std::string_view name) {
    std::string fileName(name);
    if (!paths::fromUtf8(fileName).has_extension()) fileName += ".DBF";
    impl_->tableName = std::move(fileName);
}

void Table::setTableType(TableType) {}

void Table::setExclusive(bool exclusive) {
    impl_->exclusive = exclusive;
}

std::filesystem::path Table::filePath() const {
    return impl_->path();
}

void Table::clearFieldDefs() {
    impl_->definitions.clear();
}

void Table::addFieldDef(std::string_view name, FieldType type, int size) {
    const auto refuse = [&](const std::string& why) {
        fail("No se puede definir el campo " + text::toUtf8(name) + " de la tabla " +
             shown(filePath()) + ": " + why + ".");
    };
    if (!isValidName(name)) refuse("el nombre debe tener de 1 a 10 letras, cifras o subrayados");
    for (const FieldDescriptor& existing : impl_->definitions)
        if (text::equalsIgnoreCase(existing.name, name)) refuse("ya está definido");

    FieldDescriptor field;
    for (char c : name) field.name += text::toUpper(c);
    switch (type) {
        case FieldType::Character:
            if (size < 1 || size > kMaxCharacterWidth)
                refuse("la longitud debe estar entre 1 y " + std::to_string(kMaxCharacterWidth));
            field.type = 'C';
            field.width = static_cast<std::uint32_t>(size);
            break;
        case FieldType::Logical:
            field.type = 'L';
            field.width = 1;
            break;
        case FieldType::Integer:
            field.type = 'N';
            field.width = kIntegerWidth;
            break;
        case FieldType::Float:
            field.type = 'N';
            field.width = kFloatWidth;
            field.decimals = kFloatDecimals;
            break;
    }
    impl_->definitions.push_back(std::move(field));
}

void Table::createTable() {
    Impl& impl = *impl_;
    const std::string action = "No se puede crear la tabla";
    const std::filesystem::path existing = impl.path();
    const std::filesystem::path target =
        paths::matchCase(impl.folder) / paths::fromUtf8(impl.tableName);
    if (impl.file) fail(action + " " + shown(existing) + ": está abierta. Ciérrela antes.");
    if (impl.tableName.empty()) fail(action + ": no tiene nombre.");
    if (paths::kindOf(impl.folder) != os::Kind::Directory)
        fail(action + " " + shown(target) + ": no existe la carpeta " + shown(impl.folder) + ".");
    if (impl.definitions.empty()) fail(action + " " + shown(target) + ": no tiene campos.");

    if (paths::kindOf(existing) == os::Kind::Regular) {
        LockedFile probe(existing, LockMode::Exclusive, action);  // fails while another holds it
    }

    Layout layout;
    layout.version = kDbase3;
    layout.languageDriver = kWindows1252Driver;
    layout.fields = impl.definitions;
    std::string bytes = encodeHeader(layout, 1900, 1, 1);
    bytes.replace(kDateOffset, 7, todayAndCount(0));
    bytes += kEndOfFile;
    saveFileSafely(target, bytes);
    // A table of the same name in other letter case is the one replaced.
    os::Failure ignored;
    if (existing != target) os::remove(existing, ignored);
}

void Table::open() {
    if (!impl_->file) impl_->load();
}

void Table::close() {
    Impl& impl = *impl_;
    if (!impl.file) return;
    impl.appending = false;  // a row not posted is dropped, as a cancelled edit
    struct Release {
        Impl& impl;
        ~Release() { impl.release(); }
    } release{impl};
    if (impl.appender) {
        impl.appender->flush();
        if (impl.appender->wroteAny()) impl.file->sync();
    }
}

bool Table::active() const {
    return impl_->file != nullptr;
}

void Table::append() {
    Impl& impl = *impl_;
    impl.requireOpen();
    impl.postPending();
    if (!impl.file->writable())
        fail("No se puede escribir en la tabla " + shown(impl.file->path()) +
             ": el archivo es de solo lectura.");
    impl.newRecord = impl.rows.blank();
    impl.appending = true;
}

namespace {

[[noreturn]] void failNoNewRow(const FieldDescriptor& field, const std::filesystem::path& file) {
    fail("No se puede cambiar el campo " + text::toUtf8(field.name) + " de la tabla " +
         shown(file) + ": no se está añadiendo ninguna fila.");
}

}  // namespace

void Table::setText(std::string_view fieldName, std::string_view value) {
    Impl& impl = *impl_;
    impl.requireOpen();
    const FieldDescriptor& field = impl.field(fieldName);
    if (!impl.appending) failNoNewRow(field, impl.file->path());
    storeText(impl.newRecord, field, value, impl.file->path());
}

void Table::setBool(std::string_view fieldName, bool value) {
    Impl& impl = *impl_;
    impl.requireOpen();
    const FieldDescriptor& field = impl.field(fieldName);
    if (!impl.appending) failNoNewRow(field, impl.file->path());
    storeBool(impl.newRecord, field, value, impl.file->path());
}

void Table::setFloat(std::string_view fieldName, double value) {
    Impl& impl = *impl_;
    impl.requireOpen();
    const FieldDescriptor& field = impl.field(fieldName);
    if (!impl.appending) failNoNewRow(field, impl.file->path());
    storeFloat(impl.newRecord, field, value, impl.file->path());
}

void Table::post() {
    impl_->requireOpen();
    impl_->post();
}

void Table::first() {
    impl_->requireOpen();
    impl_->postPending();
    impl_->position = 0;
}

void Table::next() {
    Impl& impl = *impl_;
    impl.requireOpen();
    impl.postPending();  // then on from the posted row
    if (impl.position < impl.scan->size()) ++impl.position;
}

bool Table::eof() const {
    impl_->requireOpen();
    return !impl_->appending && impl_->position >= impl_->scan->size();
}

std::string Table::asText(std::string_view field) const {
    return impl_->value(field).text();
}

std::int32_t Table::asInteger(std::string_view field) const {
    return impl_->value(field).integer();
}

FieldHandle Table::field(std::string_view name) const {
    impl_->requireOpen();
    const FieldDescriptor& found = impl_->field(name);
    return {static_cast<std::uint32_t>(&found - impl_->rows.layout().fields.data())};
}

std::string Table::asText(FieldHandle field) const {
    return impl_->value(field).text();
}

std::int32_t Table::asInteger(FieldHandle field) const {
    return impl_->value(field).integer();
}

double Table::asFloat(std::string_view field) const {
    return impl_->value(field).number();
}

void Table::setFilter(std::string_view expression) {
    Impl& impl = *impl_;
    std::optional<FilterCondition> condition = parseFilter(expression);
    if (impl.file && condition) impl.field(condition->field);  // a field the table lacks fails now
    impl.filter = std::move(condition);
    if (impl.file && impl.filtered) {
        impl.postPending();
        impl.refreshScan();
        impl.position = 0;
    }
}

void Table::setFiltered(bool on) {
    Impl& impl = *impl_;
    impl.filtered = on;
    if (!impl.file) return;
    impl.postPending();
    impl.refreshScan();
    impl.position = 0;
}

std::vector<std::string> Table::filterValues(std::string_view fieldName) {
    Impl& impl = *impl_;
    impl.requireOpen();
    impl.postPending();
    const FieldDescriptor& found = impl.field(fieldName);
    return impl.index.values(found.name, impl.rows.visible(), impl.textOf(found));
}

std::size_t Table::recordCount() const {
    impl_->requireOpen();
    return impl_->rows.visible().size();
}

}  // namespace mirvane::dbf
