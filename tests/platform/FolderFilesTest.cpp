#include "platform/FolderFiles.h"

#include "platform/IoError.h"
#include "support/TempDir.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform;
using testing_support::ReadFileBytes;
using testing_support::TempDir;

TEST(FolderFiles, CreatesAppendsRenamesAndDatesFilesInTheFolder) {
    const TempDir dir;
    Folder folder;
    ASSERT_EQ(folder.Open(dir.Path().string()), ERROR_SUCCESS);
    FolderFile file;
    ASSERT_EQ(folder.Create("a.bin", file), ERROR_SUCCESS);
    ASSERT_EQ(file.Write("abc", 3), ERROR_SUCCESS);
    ASSERT_EQ(file.SetModified(1'000'000'000), ERROR_SUCCESS);
    ASSERT_EQ(file.Close(), ERROR_SUCCESS);
    EXPECT_EQ(folder.Create("a.bin", file), ERROR_FILE_EXISTS);

    ASSERT_EQ(folder.OpenToAppend("a.bin", file), ERROR_SUCCESS);
    ASSERT_EQ(file.Write("de", 2), ERROR_SUCCESS);
    ASSERT_EQ(file.Close(), ERROR_SUCCESS);
    const auto entry = folder.Entry("a.bin");
    ASSERT_TRUE(entry);
    EXPECT_TRUE(entry->regularFile);
    EXPECT_EQ(entry->size, 5);
    EXPECT_EQ(ReadFileBytes(dir.File("a.bin")), "abcde");

    ASSERT_EQ(folder.Rename("a.bin", "b.bin"), ERROR_SUCCESS);
    EXPECT_FALSE(folder.Entry("a.bin"));
    EXPECT_EQ(folder.Remove("b.bin"), ERROR_SUCCESS);
    EXPECT_FALSE(folder.Entry("b.bin"));
    EXPECT_EQ(folder.Remove("b.bin"), ERROR_FILE_NOT_FOUND);
}

TEST(FolderFiles, NeverWritesThroughASymbolicLink) {
    const TempDir dir;
    const TempDir outside;
    const std::string target = outside.Write("victim", "keep");
    std::filesystem::create_symlink(target, dir.Path() / "link");
    Folder folder;
    ASSERT_EQ(folder.Open(dir.Path().string()), ERROR_SUCCESS);
    FolderFile file;
    EXPECT_NE(folder.Create("link", file), ERROR_SUCCESS);
    EXPECT_NE(folder.OpenToAppend("link", file), ERROR_SUCCESS);
    EXPECT_FALSE(file.IsOpen());
    const auto entry = folder.Entry("link");
    ASSERT_TRUE(entry);
    EXPECT_FALSE(entry->regularFile) << "the link itself, not its target";
    EXPECT_EQ(ReadFileBytes(target), "keep");
}

TEST(FolderFiles, FullDiskIsReportedAsSuch) {
    const TempDir dir;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        Folder folder;
        FolderFile file;
        if (folder.Open(dir.Path().string()) != 0 || folder.Create("big", file) != 0)
            _exit(2);
        const std::string block(3000, 'x');
        const int first = file.Write(block.data(), block.size());
        const int second = file.Write(block.data(), block.size());
        _exit(first == ERROR_SUCCESS && second == ERROR_DISK_FULL ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
