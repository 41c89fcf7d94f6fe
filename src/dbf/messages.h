#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// The engine's messages about a table file, in the user's language.
namespace mirvane::dbf {

// The table's file as the user reads it in a message.
std::string shown(const std::filesystem::path& file);

// "La tabla … está dañada: <fault>."
[[noreturn]] void failDamaged(const std::filesystem::path& file, std::string_view fault);

}  // namespace mirvane::dbf
