#include "platform/Registry.h"

#include "platform/ConfigFolder.h"
#include "platform/RegistryHive.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

namespace {

// Where an open key (or a root) lies.
struct KeyLocation {
    HKEY root = 0;
    std::string path;
};

class OpenKeys {
public:
    HKEY Add(KeyLocation location) {
        const std::lock_guard lock(mutex_);
        const HKEY handle = next_++;
        keys_[handle] = std::move(location);
        return handle;
    }
    bool Remove(HKEY handle) {
        const std::lock_guard lock(mutex_);
        return keys_.erase(handle) == 1;
    }
    std::optional<KeyLocation> Find(HKEY handle) {
        const std::lock_guard lock(mutex_);
        const auto it = keys_.find(handle);
        if (it == keys_.end())
            return std::nullopt;
        return it->second;
    }

private:
    std::mutex mutex_;
    std::map<HKEY, KeyLocation> keys_;
    HKEY next_ = 0x1000;
};

OpenKeys& TheOpenKeys() {
    static OpenKeys keys;
    return keys;
}

const char* RootName(HKEY root) {
    switch (root) {
    case HKEY_LOCAL_MACHINE:
        return "HKEY_LOCAL_MACHINE";
    case HKEY_CURRENT_USER:
        return "HKEY_CURRENT_USER";
    default:
        return nullptr;
    }
}

std::optional<KeyLocation> Locate(HKEY key, std::string_view subKey) {
    std::optional<KeyLocation> base;
    if (RootName(key) != nullptr)
        base = KeyLocation{key, {}};
    else
        base = TheOpenKeys().Find(key);
    if (base)
        base->path = JoinKeyPath(base->path, subKey);
    return base;
}

std::filesystem::path HiveFile(const std::filesystem::path& folder, HKEY root) {
    return folder / (std::string(RootName(root)) + ".reg");
}

// Reads the whole file; a missing file is an empty hive, any other failure nullopt.
std::optional<RegistryHive> ReadHive(const std::filesystem::path& file, HKEY root) {
    const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return RegistryHive();
        return std::nullopt;
    }
    std::string text;
    char buffer[8192];
    ssize_t got = 0;
    while ((got = read(fd, buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR))
        if (got > 0)
            text.append(buffer, static_cast<std::size_t>(got));
    close(fd);
    if (got < 0)
        return std::nullopt;
    return RegistryHive::Parse(text, RootName(root));
}

std::optional<RegistryHive> ReadHive(HKEY root) {
    return ReadHive(HiveFile(ConfigFolderPath(), root), root);
}

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t wrote = write(fd, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return false;
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

// Writes the hive to a temporary file, flushed to disk, and renames it over the file.
bool ReplaceHiveFile(const std::filesystem::path& file, const std::string& text) {
    const std::string temporary = file.string() + ".tmp";
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool written = WriteAll(fd, text) && fsync(fd) == 0;
    if (close(fd) != 0 || !written || rename(temporary.c_str(), file.c_str()) != 0) {
        unlink(temporary.c_str());
        return false;
    }
    return true;
}

// Holds an exclusive flock on the lock file for its lifetime.
class HiveLock {
public:
    explicit HiveLock(const std::filesystem::path& lockFile)
        : fd_(open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
        while (fd_ >= 0 && flock(fd_, LOCK_EX) != 0) {
            if (errno != EINTR) {
                close(fd_);
                fd_ = -1;
            }
        }
    }
    ~HiveLock() {
        if (fd_ >= 0)
            close(fd_);
    }
    HiveLock(const HiveLock&) = delete;
    HiveLock& operator=(const HiveLock&) = delete;
    bool Held() const { return fd_ >= 0; }

private:
    int fd_;
};

// Runs change on the current state of root's hive under the lock and saves the result if the
// change succeeded and modified it.
LONG ChangeHive(HKEY root, const std::function<LONG(RegistryHive&)>& change) {
    const auto folder = EnsureConfigFolder();
    if (!folder)
        return ERROR_ACCESS_DENIED;
    const std::filesystem::path file = HiveFile(*folder, root);
    const HiveLock lock(file.string() + ".lock");
    if (!lock.Held())
        return ERROR_ACCESS_DENIED;
    auto hive = ReadHive(file, root);
    if (!hive)
        return ERROR_ACCESS_DENIED;
    const LONG result = change(*hive);
    if (result != ERROR_SUCCESS || !hive->Modified())
        return result;
    return ReplaceHiveFile(file, hive->Format(RootName(root))) ? ERROR_SUCCESS
                                                               : ERROR_ACCESS_DENIED;
}

} // namespace

LONG RegCreateKeyEx(HKEY key, std::string_view subKey, HKEY& result) {
    const auto location = Locate(key, subKey);
    if (!location)
        return ERROR_INVALID_HANDLE;
    const LONG created = ChangeHive(location->root, [&](RegistryHive& hive) {
        hive.CreateKey(location->path);
        return ERROR_SUCCESS;
    });
    if (created == ERROR_SUCCESS)
        result = TheOpenKeys().Add(*location);
    return created;
}

LONG RegOpenKeyEx(HKEY key, std::string_view subKey, HKEY& result) {
    const auto location = Locate(key, subKey);
    if (!location)
        return ERROR_INVALID_HANDLE;
    const auto hive = ReadHive(location->root);
    if (!hive)
        return ERROR_ACCESS_DENIED;
    if (!hive->HasKey(location->path))
        return ERROR_FILE_NOT_FOUND;
    result = TheOpenKeys().Add(*location);
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
    if (RootName(key) != nullptr)
        return ERROR_SUCCESS;
    return TheOpenKeys().Remove(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG RegDeleteKey(HKEY key, std::string_view subKey) {
    const auto location = Locate(key, subKey);
    if (!location)
        return ERROR_INVALID_HANDLE;
    if (location->path.empty())
        return ERROR_ACCESS_DENIED;
    return ChangeHive(location->root, [&](RegistryHive& hive) {
        if (!hive.HasKey(location->path))
            return ERROR_FILE_NOT_FOUND;
        if (hive.HasSubKeys(location->path))
            return ERROR_ACCESS_DENIED;
        hive.DeleteKey(location->path);
        return ERROR_SUCCESS;
    });
}

LONG RegQueryValueEx(HKEY key, std::string_view valueName, DWORD* type, void* data,
                     DWORD* dataSize) {
    if (data != nullptr && dataSize == nullptr)
        return ERROR_INVALID_PARAMETER;
    const auto location = Locate(key, {});
    if (!location)
        return ERROR_INVALID_HANDLE;
    const auto hive = ReadHive(location->root);
    if (!hive)
        return ERROR_ACCESS_DENIED;
    const RegistryValue* value = hive->FindValue(location->path, valueName);
    if (value == nullptr)
        return ERROR_FILE_NOT_FOUND;
    if (type != nullptr)
        *type = value->type;
    if (dataSize == nullptr)
        return ERROR_SUCCESS;
    const auto size = static_cast<DWORD>(value->data.size());
    const bool fits = size <= *dataSize;
    *dataSize = size;
    if (data == nullptr)
        return ERROR_SUCCESS;
    if (!fits)
        return ERROR_MORE_DATA;
    std::memcpy(data, value->data.data(), size);
    return ERROR_SUCCESS;
}

LONG RegSetValueEx(HKEY key, std::string_view valueName, DWORD type, const void* data,
                   DWORD dataSize) {
    if (data == nullptr && dataSize != 0)
        return ERROR_INVALID_PARAMETER;
    const auto location = Locate(key, {});
    if (!location)
        return ERROR_INVALID_HANDLE;
    RegistryValue value{std::string(valueName), type, {}};
    if (data != nullptr)
        value.data.assign(static_cast<const char*>(data), dataSize);
    return ChangeHive(location->root, [&](RegistryHive& hive) {
        if (!hive.HasKey(location->path))
            return ERROR_KEY_DELETED;
        hive.SetValue(location->path, std::move(value));
        return ERROR_SUCCESS;
    });
}

} // namespace platform
