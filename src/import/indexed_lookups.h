#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "formats/work_tables.h"
#include "import/import_observer.h"
#include "import/lookups.h"

namespace mirvane::importing {

// The lookups answered from first-match indexes: each table is scanned once,
// in stored order, through its component the first time it is asked, and
// every later question costs one hash look-up instead of a scan. The answers
// are exactly those of the scans (see Lookups). ASIGT is opened by its first
// question, as a build that has no lesson never needs it; the components are
// closed by their owner.
class IndexedLookups : public Lookups {
  public:
    // Given an observer, the scans tell it the names beside the codes: the
    // subjects, the rooms and the slots with their times.
    explicit IndexedLookups(formats::WorkTableComponents& tables,
                            ImportObserver* observer = nullptr)
        : tables_(tables), observer_(observer) {}

    std::optional<std::string> materiaDeCodigo(std::string_view cod) override;
    std::optional<Tramo> tramo(std::string_view diho) override;
    std::optional<std::string> depcentro(std::string_view abrev) override;
    std::optional<std::string> unidad(std::string_view abrev) override;
    std::optional<std::string> materiaPorGrupo(std::string_view casig,
                                               std::string_view cgrup) override;
    std::optional<std::string> materiaPorNivel(std::string_view casig, std::string_view nivel,
                                               std::string_view curso) override;

  private:
    // Hashing by string_view, so that a look-up builds no key string.
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view key) const {
            return std::hash<std::string_view>{}(key);
        }
    };
    template <typename Value>
    using Index = std::unordered_map<std::string, Value, Hash, std::equal_to<>>;

    void indexAsignomt();
    void indexDiashorast();
    void indexAulat();
    void indexGrupost();
    void indexAsigt();

    formats::WorkTableComponents& tables_;
    ImportObserver* observer_;
    std::optional<Index<std::string>> materiaPorCodigo_;
    std::optional<Index<Tramo>> tramos_;
    std::optional<Index<std::string>> depcentros_;
    std::optional<Index<std::string>> unidades_;
    std::optional<Index<std::string>> materiasPorGrupo_;
    std::optional<Index<std::string>> materiasPorNivel_;
};

}  // namespace mirvane::importing
