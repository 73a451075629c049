// The folder holding the program's own configuration (registry hives, drive table):
// $VITRINE_CONFIG_DIR, else $XDG_CONFIG_HOME/vitrine, else ~/.config/vitrine.
#pragma once

#include <filesystem>
#include <optional>

namespace platform {

// Where the folder is, whether it exists or not. Looked up anew on every call.
std::filesystem::path ConfigFolderPath();

// The folder, created with its parents if missing; nullopt when it cannot be created.
std::optional<std::filesystem::path> EnsureConfigFolder();

} // namespace platform
