#include "util/Paths.h"

#include "platform/Folders.h"

namespace util {

namespace {

constexpr std::size_t kExtensionLength = 3;

} // namespace

std::string ProgramDir() {
    return platform::ProgramFolder() + "/";
}

std::string DataDir() {
    return ProgramDir() + "Data/";
}

std::string SystemDir() {
    return platform::SystemFolder();
}

std::string AddBackslash(std::string_view path) {
    const bool bareDrive = path.size() == 2 && path[1] == ':';
    if (bareDrive || (!path.empty() && path.back() == '\\'))
        return std::string(path);
    return std::string(path) + "\\";
}

std::string FileBaseName(std::string_view path) {
    const std::size_t separator = path.find_last_of("\\/:");
    std::string name(separator == std::string_view::npos ? path : path.substr(separator + 1));
    if (const std::size_t dot = name.find('.'); dot != std::string::npos)
        name.erase(dot, 1 + kExtensionLength);
    return name;
}

} // namespace util
