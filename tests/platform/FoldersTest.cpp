#include "platform/Folders.h"

#include "platform/ConfigFolder.h"
#include "platform/ScopedConfigFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// Sets or removes an environment variable for one test.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            previous_ = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (previous_)
            setenv(name_, previous_->c_str(), 1);
        else
            unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> previous_;
};

} // namespace

TEST(Folders, ConfigFolderFollowsTheEnvironmentInOrder) {
    const testing_support::TempDir dir;
    const ScopedEnv home("HOME", dir.Path().c_str());
    {
        const ScopedEnv own("VITRINE_CONFIG_DIR", nullptr);
        const ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
        EXPECT_EQ(ConfigFolderPath(), dir.Path() / ".config" / "vitrine");
        const ScopedEnv xdgSet("XDG_CONFIG_HOME", (dir.Path() / "xdg").c_str());
        EXPECT_EQ(ConfigFolderPath(), dir.Path() / "xdg" / "vitrine");
    }
    const ScopedEnv own("VITRINE_CONFIG_DIR", (dir.Path() / "own" / "deeper").c_str());
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "own"));
    EXPECT_EQ(EnsureConfigFolder(), dir.Path() / "own" / "deeper");
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "own" / "deeper"));
}

TEST(Folders, ProgramFolderHoldsTheRunningProgram) {
    EXPECT_TRUE(std::filesystem::exists(ProgramFolder() + "/platform_tests"));
    EXPECT_TRUE(std::filesystem::is_directory(SystemFolder()));
}
