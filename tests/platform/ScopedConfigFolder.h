// Points VITRINE_CONFIG_DIR at a fresh temporary folder for one test and restores it afterwards,
// so tests in one process never see each other's registry hives or drive tables.
#pragma once

#include "support/TempDir.h"

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

namespace testing_support {

class ScopedConfigFolder {
public:
    ScopedConfigFolder() { PointAt(folder_.Path().string()); }
    // Another folder (which need not exist) instead of the temporary one.
    explicit ScopedConfigFolder(const std::string& path) { PointAt(path); }
    ~ScopedConfigFolder() {
        if (previous_)
            setenv("VITRINE_CONFIG_DIR", previous_->c_str(), 1);
        else
            unsetenv("VITRINE_CONFIG_DIR");
    }
    ScopedConfigFolder(const ScopedConfigFolder&) = delete;
    ScopedConfigFolder& operator=(const ScopedConfigFolder&) = delete;

    const std::filesystem::path& Path() const { return folder_.Path(); }
    std::string File(const std::string& name) const { return folder_.File(name); }
    void Write(const std::string& name, const std::string& text) const {
        folder_.Write(name, text);
    }

private:
    void PointAt(const std::string& path) {
        if (const char* old = std::getenv("VITRINE_CONFIG_DIR"))
            previous_ = old;
        setenv("VITRINE_CONFIG_DIR", path.c_str(), 1);
    }

    TempDir folder_;
    std::optional<std::string> previous_;
};

} // namespace testing_support
