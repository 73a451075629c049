#include "platform/UserAccount.h"

#include "platform/CodePage.h"

#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace platform {

std::string FullNameOfNameField(const std::string& nameField) {
    const std::string fullName = nameField.substr(0, nameField.find(','));
    return Utf8ToAnsi1252(fullName).value_or(std::string());
}

std::string AccountFullName() {
    long bufferSize = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(bufferSize > 0 ? static_cast<std::size_t>(bufferSize) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr || entry.pw_gecos == nullptr)
        return {};
    return FullNameOfNameField(entry.pw_gecos);
}

} // namespace platform
