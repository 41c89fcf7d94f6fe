#include "import/indexed_lookups.h"

#include <cstdint>
#include <initializer_list>

#include "base/text.h"

namespace mirvane::importing {
namespace {

// One key for several texts: each part preceded by its length, so that no
// two different tuples of texts give the same key, whatever bytes they hold.
std::string compositeKey(std::initializer_list<std::string_view> parts) {
    std::string key;
    for (std::string_view part : parts) {
        const auto size = static_cast<std::uint32_t>(part.size());
        key.append(reinterpret_cast<const char*>(&size), sizeof size);
        key.append(part);
    }
    return key;
}

template <typename Index>
auto find(const Index& index, std::string_view key) -> std::optional<typename Index::mapped_type> {
    auto it = index.find(key);
    if (it == index.end()) return std::nullopt;
    return it->second;
}

}  // namespace

// Every index keeps the first row of each key in stored order (try_emplace
// never replaces), which is the row a scan from the first row stops at. An
// index is stored only once complete, so a failed scan leaves none behind.

void IndexedLookups::indexAsignomt() {
    dbf::Table& table = tables_.wwTableNomAsg;
    Index<std::string> index;
    for (table.first(); !table.eof(); table.next()) {
        auto [entry, added] = index.try_emplace(table.asText(formats::asignomt::kCod),
                                                table.asText(formats::asignomt::kMateria));
        if (added && observer_)
            observer_->subject(entry->first, table.asText(formats::asignomt::kNombre));
    }
    materiaPorCodigo_ = std::move(index);
}

void IndexedLookups::indexDiashorast() {
    dbf::Table& table = tables_.wwTableTramos;
    Index<Tramo> index;
    for (table.first(); !table.eof(); table.next()) {
        std::string diho = table.asText(formats::diashorast::kDiho);
        std::string dia = table.asText(formats::diashorast::kDia);
        if (observer_)
            observer_->slot({diho, dia, table.asText(formats::diashorast::kHoradesde),
                             table.asText(formats::diashorast::kHorahasta)});
        index.try_emplace(std::move(diho),
                          Tramo{std::move(dia), table.asText(formats::diashorast::kCoddiho)});
    }
    tramos_ = std::move(index);
}

void IndexedLookups::indexAulat() {
    dbf::Table& table = tables_.wwTableAulas;
    Index<std::string> index;
    for (table.first(); !table.eof(); table.next()) {
        auto [entry, added] = index.try_emplace(table.asText(formats::aulat::kAbrev),
                                                table.asText(formats::aulat::kDepcentro));
        if (added && observer_)
            observer_->room(entry->first, table.asText(formats::aulat::kNombre));
    }
    depcentros_ = std::move(index);
}

void IndexedLookups::indexGrupost() {
    dbf::Table& table = tables_.wwTableGrupos;
    Index<std::string> index;
    for (table.first(); !table.eof(); table.next())
        index.try_emplace(table.asText(formats::grupost::kAbrev),
                          table.asText(formats::grupost::kUnidad));
    unidades_ = std::move(index);
}

void IndexedLookups::indexAsigt() {
    dbf::Table& table = tables_.wwTableAsig;
    table.open();
    Index<std::string> porGrupo;
    Index<std::string> porNivel;
    for (table.first(); !table.eof(); table.next()) {
        const std::string casig = table.asText(formats::asigt::kCasig);
        std::string materia = table.asText(formats::asigt::kMateria);
        porGrupo.try_emplace(compositeKey({casig, table.asText(formats::asigt::kCgrup)}), materia);
        // By level and year the search passes over blank subjects: a blank
        // entry gives way to the next matching row, a non-blank one stays.
        auto [entry, added] =
            porNivel.try_emplace(compositeKey({casig, table.asText(formats::asigt::kNivel),
                                               table.asText(formats::asigt::kCurso)}),
                                 materia);
        if (!added && text::isBlank(entry->second)) entry->second = std::move(materia);
    }
    materiasPorGrupo_ = std::move(porGrupo);
    materiasPorNivel_ = std::move(porNivel);
}

std::optional<std::string> IndexedLookups::materiaDeCodigo(std::string_view cod) {
    if (!materiaPorCodigo_) indexAsignomt();
    return find(*materiaPorCodigo_, cod);
}

std::optional<Tramo> IndexedLookups::tramo(std::string_view diho) {
    if (!tramos_) indexDiashorast();
    return find(*tramos_, diho);
}

std::optional<std::string> IndexedLookups::depcentro(std::string_view abrev) {
    if (!depcentros_) indexAulat();
    return find(*depcentros_, abrev);
}

std::optional<std::string> IndexedLookups::unidad(std::string_view abrev) {
    if (!unidades_) indexGrupost();
    return find(*unidades_, abrev);
}

std::optional<std::string> IndexedLookups::materiaPorGrupo(std::string_view casig,
                                                           std::string_view cgrup) {
    if (!materiasPorGrupo_) indexAsigt();
    return find(*materiasPorGrupo_, compositeKey({casig, cgrup}));
}

std::optional<std::string> IndexedLookups::materiaPorNivel(std::string_view casig,
                                                           std::string_view nivel,
                                                           std::string_view curso) {
    if (!materiasPorNivel_) indexAsigt();
    return find(*materiasPorNivel_, compositeKey({casig, nivel, curso}));
}

}  // namespace mirvane::importing
