#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>
#include <type_traits>

// The file a run works on, as the user chose it, and the shape both runs
// share: nothing when the file does not exist, else load it and do the work.
namespace mirvane::core {

// Shown when no file exists at the chosen path; the run ends without writing.
inline constexpr std::string_view kNoFileMessage = "No existe archivo";
// Shown when a run has reached its end.
inline constexpr std::string_view kFinishedMessage = "Proceso finalizado";

// Whether a file (not a folder) exists at the chosen path. An empty path,
// as when the file dialog was cancelled before any choice, has none.
bool chosenFileExists(const std::filesystem::path& file);

// A whole run on the chosen file: nothing when none exists there (the
// caller shows kNoFileMessage), otherwise run.load(chosenFile) and then
// `work` on the run, whose result it returns. Errors are not caught: the
// caller reports them once.
template <typename Run, typename Work>
auto runOnChosenFile(Run& run, const std::filesystem::path& chosenFile, Work work)
    -> std::optional<std::invoke_result_t<Work, Run&>> {
    if (!chosenFileExists(chosenFile)) return std::nullopt;
    run.load(chosenFile);
    return std::invoke(work, run);
}

}  // namespace mirvane::core
