#include "platform/ConfinedFolder.h"

#include "platform/IoError.h"
#include "rtl/Exceptions.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

using platform::ConfinedFolder;
using platform::EntryKind;
using platform::PendingFile;
using testing_support::ReadFileBytes;
using testing_support::TempDir;
namespace fs = std::filesystem;

namespace {

int ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const rtl::EInOutError& error) {
        return error.ErrorCode();
    }
    return 0;
}

std::size_t EntriesIn(const std::string& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

} // namespace

TEST(ConfinedFolder, FilesAppearOnlyWhenCommitted) {
    const TempDir dir;
    const ConfinedFolder root(dir.Path().string());
    const ConfinedFolder sub = root.Enter("sub").Enter("deeper");
    {
        PendingFile file(sub);
        file.Write("abc", 3);
        EXPECT_EQ(EntriesIn(dir.File("sub/deeper")), 1u) << "the temporary file";
        EXPECT_EQ(sub.Look("done.txt").kind, EntryKind::Missing);
        file.Commit("done.txt", true, 820000000);
    }
    EXPECT_EQ(ReadFileBytes(dir.File("sub/deeper/done.txt")), "abc");
    const platform::EntryInfo done = sub.Look("done.txt");
    EXPECT_EQ(done.kind, EntryKind::File);
    EXPECT_TRUE(done.readOnly);
    struct stat info {};
    ASSERT_EQ(stat(dir.File("sub/deeper/done.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mtime, 820000000);
    {
        PendingFile abandoned(sub);
        abandoned.Write("partial", 7);
    }
    EXPECT_EQ(EntriesIn(dir.File("sub/deeper")), 1u) << "only done.txt";
}

TEST(ConfinedFolder, LinksAreNeverPassedThroughOrReplaced) {
    const TempDir dir;
    fs::create_directory(dir.File("outside"));
    fs::create_directory(dir.File("root"));
    fs::create_directory_symlink(dir.File("outside"), dir.File("root/folder-link"));
    fs::create_symlink(dir.File("outside/file"), dir.File("root/file-link"));
    fs::create_directory(dir.File("root/folder"));
    const ConfinedFolder root(dir.File("root"));
    EXPECT_EQ(root.Look("folder-link").kind, EntryKind::Link);
    EXPECT_EQ(ErrorOf([&] { root.Enter("folder-link"); }), platform::ERROR_ACCESS_DENIED);
    for (const char* name : {"file-link", "folder"}) {
        PendingFile file(root);
        file.Write("x", 1);
        EXPECT_EQ(ErrorOf([&] { file.Commit(name, false, 0); }), platform::ERROR_ACCESS_DENIED)
            << name;
    }
    EXPECT_TRUE(fs::is_empty(dir.File("outside")));
    EXPECT_EQ(EntriesIn(dir.File("root")), 3u) << "no temporary file left";
    EXPECT_EQ(ErrorOf([&] { ConfinedFolder missing(dir.File("missing")); }),
              platform::ERROR_FILE_NOT_FOUND);
}
