#include "util/FileOps.h"

#include "platform/MessageBox.h"
#include "rtl/Exceptions.h"
#include "support/TempDir.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace util;
using testing_support::ReadFileBytes;
using testing_support::TempDir;
namespace fs = std::filesystem;

namespace {

std::string RandomBytes(std::size_t count, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(count, '\0');
    for (char& c : bytes)
        c = static_cast<char>(generator());
    return bytes;
}

// Collects what DeleteTree shows in the platform message box.
class CapturedMessages {
public:
    CapturedMessages() {
        platform::SetMessageBoxHandler([this](const std::string& text, const std::string& caption) {
            shown.push_back(caption + ": " + text);
        });
    }
    ~CapturedMessages() { platform::SetMessageBoxHandler(nullptr); }
    CapturedMessages(const CapturedMessages&) = delete;
    CapturedMessages& operator=(const CapturedMessages&) = delete;

    std::vector<std::string> shown;
};

} // namespace

TEST(CopyFileBlocks, CopiesEveryByteAcrossBlockBoundaries) {
    const TempDir dir;
    for (const std::size_t size : {std::size_t{0}, std::size_t{2048}, std::size_t{3 * 2048 + 17}}) {
        const std::string bytes = RandomBytes(size, static_cast<unsigned>(size));
        const std::string source = dir.Write("source.bin", bytes);
        CopyFileBlocks(source, dir.File("target.bin"));
        EXPECT_EQ(ReadFileBytes(dir.File("target.bin")), bytes) << "size " << size;
    }
}

TEST(CopyFileBlocks, CopyingAFileOntoItselfIsRefusedAndKeepsIt) {
    const TempDir dir;
    const std::string bytes = RandomBytes(5000, 3);
    const std::string source = dir.Write("source.bin", bytes);
    fs::create_hard_link(source, dir.File("hard.bin"));
    // The folder reached under another name, as two drives mapped onto one folder are.
    fs::create_directory_symlink(dir.Path(), dir.File("other-drive"));
    for (const std::string& target : {source, dir.File("./source.bin"), dir.File("hard.bin"),
                                      dir.File("other-drive/source.bin")}) {
        try {
            CopyFileBlocks(source, target);
            ADD_FAILURE() << "copied onto " << target;
        } catch (const rtl::EInOutError& error) {
            EXPECT_EQ(error.ErrorCode(), 32) << target;
        }
        EXPECT_EQ(ReadFileBytes(source), bytes) << target;
    }
}

TEST(CopyFileBlocks, MissingSourceDoesNothing) {
    const TempDir dir;
    EXPECT_NO_THROW(CopyFileBlocks(dir.File("missing"), dir.File("target")));
    EXPECT_FALSE(fs::exists(dir.File("target")));
}

TEST(CopyFileBlocks, TargetThatCannotBeCreatedIsAnInOutError) {
    const TempDir dir;
    const std::string source = dir.Write("source", "x");
    try {
        CopyFileBlocks(source, dir.File("no/such/folder/target"));
        FAIL() << "no error";
    } catch (const rtl::EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), 2);
    }
}

// A full disk, made real with a file size limit in a child process: the write falls short, the
// partial target is removed and the copy raises "disk full".
TEST(CopyFileBlocks, ShortWriteRemovesThePartialTargetAndRaises) {
    const TempDir dir;
    const std::string source = dir.Write("source.bin", RandomBytes(10000, 1));
    const std::string target = dir.File("target.bin");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        try {
            CopyFileBlocks(source, target);
        } catch (const rtl::EInOutError& e) {
            _exit(e.ErrorCode() == 112 && !fs::exists(target) ? 0 : 2);
        }
        _exit(1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: no error raised, 2: wrong code or target left";
}

TEST(DeleteTree, RemovesNestedFoldersWithReadOnlyAndHiddenEntries) {
    const TempDir dir;
    const std::string tree = dir.File("tree");
    dir.Write("tree/readonly.txt", "r");
    dir.Write("tree/.hidden", "h");
    dir.Write("tree/sub/deeper/file.bin", "b");
    dir.Write("tree/locked/inside.txt", "i");
    chmod(dir.File("tree/readonly.txt").c_str(), 0444);
    chmod(dir.File("tree/locked").c_str(), 0555);
    const CapturedMessages messages;
    DeleteTree(tree);
    EXPECT_FALSE(fs::exists(tree));
    EXPECT_TRUE(messages.shown.empty());
}

TEST(DeleteTree, LinksAreRemovedWithoutTouchingWhatTheyPointTo) {
    const TempDir dir;
    const std::string outsideFile = dir.Write("outside/keep.txt", "precious");
    dir.Write("outside/folder/also.txt", "precious too");
    chmod(outsideFile.c_str(), 0444);
    dir.Write("tree/own.txt", "mine");
    fs::create_symlink(outsideFile, dir.File("tree/file-link"));
    fs::create_directory_symlink(dir.File("outside/folder"), dir.File("tree/folder-link"));
    fs::create_symlink(dir.File("nowhere"), dir.File("tree/dangling"));

    DeleteTree(dir.File("tree/"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir.File("tree"))));
    EXPECT_EQ(ReadFileBytes(outsideFile), "precious");
    EXPECT_EQ(ReadFileBytes(dir.File("outside/folder/also.txt")), "precious too");
    struct stat info {};
    ASSERT_EQ(stat(outsideFile.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0444u) << "the target's attributes stay";
}

TEST(DeleteTree, FailedRemovalShowsTheErrorNumber) {
    const TempDir dir;
    const CapturedMessages messages;
    DeleteTree(dir.File("missing"));
    EXPECT_EQ(messages.shown, std::vector<std::string>{"Verzeichnis l\xF6schen: FehlerNummer: 2"});
}

TEST(DeleteFileForced, DeletesReadOnlyFilesAndIgnoresMissingOnes) {
    const TempDir dir;
    const std::string file = dir.Write("ro.txt", "x");
    chmod(file.c_str(), 0444);
    DeleteFileForced(file);
    EXPECT_FALSE(fs::exists(file));
    EXPECT_NO_THROW(DeleteFileForced(dir.File("missing")));
}
