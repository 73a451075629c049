#include "platform/Registry.h"

#include "platform/ConfigFolder.h"
#include "platform/FileSet.h"
#include "platform/RegistryHive.h"
#include "rtl/Exceptions.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
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

// What identifies one state of a hive file: every write renames a new file into place.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

// The stamp of path (following a link), a missing file's all-default stamp, or nullopt when it
// cannot be looked at.
std::optional<FileStamp> StampOf(const std::filesystem::path& file) {
    struct stat info {};
    if (stat(file.c_str(), &info) != 0)
        return errno == ENOENT ? std::optional<FileStamp>(FileStamp{}) : std::nullopt;
    return FileStamp{info.st_dev, info.st_ino, info.st_size,
                     info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec,
                     info.st_ctim.tv_sec * 1000000000LL + info.st_ctim.tv_nsec};
}

// Reads the whole file; a missing file is an empty hive, any other failure nullopt.
std::optional<std::string> ReadHiveText(const std::filesystem::path& file) {
    const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return std::string();
        return std::nullopt;
    }
    std::string text;
    char buffer[65536];
    ssize_t got = 0;
    while ((got = read(fd, buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR))
        if (got > 0)
            text.append(buffer, static_cast<std::size_t>(got));
    close(fd);
    if (got < 0)
        return std::nullopt;
    return text;
}

using SharedHive = std::shared_ptr<const RegistryHive>;

// The last hive read or written per file, parsed; read again only when the file changed, so
// that a run of calls on a large hive does not parse it every time.
class HiveCache {
public:
    SharedHive Get(const std::filesystem::path& file, HKEY root) {
        const std::lock_guard lock(mutex_);
        auto before = StampOf(file);
        if (!before)
            return nullptr;
        Entry& entry = entries_[file.string()];
        if (entry.hive && entry.stamp == *before)
            return entry.hive;
        const auto text = ReadHiveText(file);
        const auto after = StampOf(file);
        if (!text || !after)
            return nullptr;
        auto hive =
            std::make_shared<const RegistryHive>(RegistryHive::Parse(*text, RootName(root)));
        // A file replaced while it was read is parsed again next time.
        entry = {*before == *after ? *after : FileStamp{.size = -2}, hive};
        return hive;
    }
    void Put(const std::filesystem::path& file, SharedHive hive) {
        const std::lock_guard lock(mutex_);
        if (const auto stamp = StampOf(file))
            entries_[file.string()] = {*stamp, std::move(hive)};
    }

private:
    struct Entry {
        FileStamp stamp;
        SharedHive hive;
    };
    std::mutex mutex_;
    std::map<std::string, Entry> entries_;
};

HiveCache& TheHiveCache() {
    static HiveCache cache;
    return cache;
}

SharedHive ReadHive(const std::filesystem::path& file, HKEY root) {
    return TheHiveCache().Get(file, root);
}

SharedHive ReadHive(HKEY root) {
    return ReadHive(HiveFile(ConfigFolderPath(), root), root);
}

// Writes the hive through a temporary file flushed to disk and renamed over the file (or over
// the target of a link in its place), keeping the file's permissions.
bool ReplaceHiveFile(const std::filesystem::path& file, const std::string& text) {
    try {
        FileSet files;
        files.Write(file.string(),
                    std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
        files.Commit();
        return true;
    } catch (const rtl::Exception&) {
        return false;
    }
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
    const SharedHive current = ReadHive(file, root);
    if (!current)
        return ERROR_ACCESS_DENIED;
    auto hive = std::make_shared<RegistryHive>(*current);
    const LONG result = change(*hive);
    if (result != ERROR_SUCCESS || !hive->Modified())
        return result;
    if (!ReplaceHiveFile(file, hive->Format()))
        return ERROR_ACCESS_DENIED;
    TheHiveCache().Put(file, std::move(hive));
    return ERROR_SUCCESS;
}

} // namespace

LONG RegCreateKeyEx(HKEY key, std::string_view subKey, HKEY& result) {
    const auto location = Locate(key, subKey);
    if (!location)
        return ERROR_INVALID_HANDLE;
    // A key that exists is only opened: no lock and no write, so a read-only configuration
    // folder still gives its settings.
    if (const SharedHive hive = ReadHive(location->root); hive && hive->HasKey(location->path)) {
        result = TheOpenKeys().Add(*location);
        return ERROR_SUCCESS;
    }
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
