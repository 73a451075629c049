// A temporary folder for one test, removed with everything in it when the test ends.
#pragma once

#include <filesystem>
#include <string>

namespace testing_support {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // path/name as a string.
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    // Writes bytes to path/name (creating folders on the way) and returns the full path.
    std::string Write(const std::string& name, const std::string& bytes) const;

private:
    std::filesystem::path path_;
};

std::string ReadFileBytes(const std::string& path);

// Points VITRINE_CONFIG_DIR at a fresh temporary folder for the whole test process.
void UseTemporaryConfigDir();

} // namespace testing_support
