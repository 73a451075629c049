#include "util/RegKey.h"

#include "rtl/LittleEndian.h"

#include <algorithm>
#include <vector>

namespace util {

namespace {

// The texts are Windows-1252, as all program messages.
constexpr const char* kCloseError = "Fehler beim Schlie\xDF"
                                    "en des RegistryKeys!";
constexpr const char* kDeleteError = "Fehler beim L\xF6schen des RegistryKeys!";
constexpr const char* kWriteError = kRegistryWriteError;
constexpr const char* kReadError = "Fehler beim Lesen des RegistryStrings!";

} // namespace

TRegKey::TRegKey(platform::HKEY root, std::string keyPath, bool openOnly)
    : root_(root), keyPath_(std::move(keyPath)) {
    lastResult_ = openOnly ? platform::RegOpenKeyEx(root_, keyPath_, key_)
                           : platform::RegCreateKeyEx(root_, keyPath_, key_);
    open_ = lastResult_ == platform::ERROR_SUCCESS;
}

TRegKey::~TRegKey() {
    if (open_)
        platform::RegCloseKey(key_);
}

void TRegKey::Close() {
    if (!open_)
        return;
    open_ = false;
    lastResult_ = platform::RegCloseKey(key_);
    if (lastResult_ != platform::ERROR_SUCCESS)
        throw ERegKey(kCloseError);
}

void TRegKey::DeleteAndFree() {
    Close();
    lastResult_ = platform::RegDeleteKey(root_, keyPath_);
    if (lastResult_ != platform::ERROR_SUCCESS)
        throw ERegKey(kDeleteError);
}

void TRegKey::WriteString(const std::string& name, const std::string& value) {
    lastResult_ = platform::RegSetValueEx(key_, name, platform::REG_SZ, value.data(),
                                          static_cast<platform::DWORD>(value.size()));
    if (lastResult_ != platform::ERROR_SUCCESS)
        throw ERegKey(kWriteError);
}

std::string TRegKey::ReadString(const std::string& name, const std::string& defaultValue,
                                std::uint32_t maxLen) {
    // One byte more than asked for keeps the buffer valid for maxLen 0; the registry is told
    // maxLen and never fills more.
    std::vector<char> buffer(static_cast<std::size_t>(maxLen) + 1);
    platform::DWORD type = 0;
    platform::DWORD size = maxLen;
    if (CheckRead(platform::RegQueryValueEx(key_, name, &type, buffer.data(), &size)) ==
        platform::ERROR_FILE_NOT_FOUND)
        return defaultValue;
    if (type != platform::REG_SZ)
        throw ERegKey(kReadError);
    const auto end = std::find(buffer.begin(), buffer.begin() + size, '\0');
    return std::string(buffer.begin(), end);
}

void TRegKey::WriteInteger(const std::string& name, std::int32_t value) {
    std::uint8_t data[4];
    rtl::StoreU32(data, static_cast<std::uint32_t>(value));
    lastResult_ = platform::RegSetValueEx(key_, name, platform::REG_DWORD, data, sizeof data);
    if (lastResult_ != platform::ERROR_SUCCESS)
        throw ERegKey(kWriteError);
}

std::int32_t TRegKey::ReadInteger(const std::string& name, std::int32_t defaultValue) {
    std::uint8_t data[4] = {};
    platform::DWORD type = 0;
    platform::DWORD size = sizeof data;
    if (CheckRead(platform::RegQueryValueEx(key_, name, &type, data, &size)) ==
        platform::ERROR_FILE_NOT_FOUND)
        return defaultValue;
    if (type != platform::REG_DWORD || size != sizeof data)
        throw ERegKey(kReadError);
    return static_cast<std::int32_t>(rtl::LoadU32(data));
}

platform::LONG TRegKey::CheckRead(platform::LONG result) {
    lastResult_ = result;
    if (result != platform::ERROR_SUCCESS && result != platform::ERROR_FILE_NOT_FOUND)
        throw ERegKey(kReadError);
    return result;
}

} // namespace util
