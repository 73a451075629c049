#include "platform/ConfigFolder.h"

#include "platform/Folders.h"

#include <cstdlib>
#include <system_error>

namespace platform {

namespace {

std::optional<std::filesystem::path> NonEmptyEnv(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0')
        return std::nullopt;
    return std::filesystem::path(value);
}

} // namespace

std::filesystem::path ConfigFolderPath() {
    if (auto own = NonEmptyEnv("VITRINE_CONFIG_DIR"))
        return *own;
    if (auto xdg = NonEmptyEnv("XDG_CONFIG_HOME"))
        return *xdg / "vitrine";
    return std::filesystem::path(HomeFolder()) / ".config" / "vitrine";
}

std::optional<std::filesystem::path> EnsureConfigFolder() {
    const std::filesystem::path folder = ConfigFolderPath();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder, error))
        return std::nullopt;
    return folder;
}

} // namespace platform
