#include "platform/FileSearch.h"

#include "platform/DosDateTime.h"
#include "platform/FileSystem.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

using namespace platform;
using testing_support::TempDir;

namespace {

std::vector<std::string> Names(const std::vector<SearchEntry>& entries) {
    std::vector<std::string> names;
    for (const SearchEntry& entry : entries)
        names.push_back(entry.Name);
    return names;
}

const SearchEntry& Named(const std::vector<SearchEntry>& entries, const std::string& name) {
    for (const SearchEntry& entry : entries)
        if (entry.Name == name)
            return entry;
    throw std::runtime_error("no entry " + name);
}

class FileSearchTest : public testing::Test {
protected:
    FileSearchTest() {
        dir_.Write("a.txt", "12345");
        dir_.Write("B.TXT", "");
        dir_.Write(".hidden.txt", "h");
        dir_.Write("notes", "no extension");
        dir_.Write("sub/inner.txt", "");
        readOnly_ = dir_.Write("ro.txt", "r");
        chmod(readOnly_.c_str(), 0444);
    }
    std::string Pattern(const std::string& wildcard) const { return dir_.File(wildcard); }

    TempDir dir_;
    std::string readOnly_;
};

} // namespace

TEST_F(FileSearchTest, OrdinaryFilesMatchingThePatternAreListedByName) {
    EXPECT_EQ(Names(FindFiles(Pattern("*.txt"), faNormal)),
              (std::vector<std::string>{"B.TXT", "a.txt", "ro.txt"}));
    EXPECT_EQ(Names(FindFiles(Pattern("*.*"), faArchive | faReadOnly)),
              (std::vector<std::string>{"B.TXT", "a.txt", "notes", "ro.txt"}));
}

TEST_F(FileSearchTest, HiddenFilesAndFoldersOnlyWhenAsked) {
    EXPECT_EQ(Names(FindFiles(Pattern("*.txt"), faHidden)),
              (std::vector<std::string>{".hidden.txt", "B.TXT", "a.txt", "ro.txt"}));
    EXPECT_EQ(Names(FindFiles(Pattern("*.*"), faAnyFile)),
              (std::vector<std::string>{".", "..", ".hidden.txt", "B.TXT", "a.txt", "notes",
                                        "ro.txt", "sub"}));
}

TEST_F(FileSearchTest, EntriesCarryAttributesSizeAndPackedTime) {
    const std::string file = dir_.File("a.txt");
    const rtl::TDateTime stamp = rtl::EncodeDate(1996, 5, 2) + (13 * 3600 + 45 * 60 + 30) / 86400.0;
    std::tm local{};
    local.tm_year = 96, local.tm_mon = 4, local.tm_mday = 2;
    local.tm_hour = 13, local.tm_min = 45, local.tm_sec = 30, local.tm_isdst = -1;
    const utimbuf times{std::mktime(&local), std::mktime(&local)};
    ASSERT_EQ(utime(file.c_str(), &times), 0);

    const auto entries = FindFiles(Pattern("*.*"), faAnyFile);
    EXPECT_EQ(Named(entries, "a.txt").Attr, faArchive);
    EXPECT_EQ(Named(entries, "a.txt").Size, 5);
    EXPECT_EQ(Named(entries, "a.txt").Time, DateTimeToFileDate(stamp));
    EXPECT_EQ(Named(entries, "ro.txt").Attr, faArchive | faReadOnly);
    EXPECT_EQ(Named(entries, ".hidden.txt").Attr, faArchive | faHidden);
    EXPECT_EQ(Named(entries, "sub").Attr, faDirectory);
    EXPECT_EQ(Named(entries, "..").Attr, faDirectory);
}

TEST_F(FileSearchTest, MissingFolderListsNothing) {
    EXPECT_TRUE(FindFiles(dir_.File("missing/*.*"), faAnyFile).empty());
}

TEST_F(FileSearchTest, SettingNormalAttributesMakesAFileWritableAgain) {
    EXPECT_EQ(GetFileAttributes(readOnly_), faArchive | faReadOnly);
    EXPECT_TRUE(SetFileAttributes(readOnly_, faNormal));
    EXPECT_EQ(GetFileAttributes(readOnly_), faArchive);
    EXPECT_TRUE(SetFileAttributes(readOnly_, faReadOnly));
    struct stat info {};
    ASSERT_EQ(stat(readOnly_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0222, 0u);
    EXPECT_FALSE(SetFileAttributes(dir_.File("missing"), faNormal));
    EXPECT_EQ(GetFileAttributes(dir_.File("missing")), std::nullopt);
}

TEST_F(FileSearchTest, SymbolicLinksAreMarkedAndNeverChangeTheirTarget) {
    std::filesystem::create_symlink(readOnly_, dir_.File("link.txt"));
    std::filesystem::create_directory_symlink(dir_.File("sub"), dir_.File("linkdir"));
    EXPECT_EQ(GetFileAttributes(dir_.File("link.txt")), faSymLink | faArchive | faReadOnly);
    EXPECT_EQ(GetFileAttributes(dir_.File("linkdir")), faSymLink | faDirectory);
    EXPECT_TRUE(SetFileAttributes(dir_.File("link.txt"), faNormal));
    EXPECT_EQ(GetFileAttributes(readOnly_), faArchive | faReadOnly);
}

TEST(FileSystem, FailuresReportWindowsErrorNumbers) {
    const TempDir dir;
    EXPECT_EQ(DeleteFile(dir.File("missing")), 2);
    EXPECT_EQ(CreateFolder(dir.File("new")), 0);
    EXPECT_EQ(CreateFolder(dir.File("new")), 80);
    dir.Write("new/file", "x");
    EXPECT_EQ(RemoveFolder(dir.File("new")), 145);
    EXPECT_EQ(DeleteFile(dir.File("new/file")), 0);
    EXPECT_EQ(RemoveFolder(dir.File("new")), 0);
    EXPECT_EQ(CreateFolder(dir.File("no/such/parent")), 2);
}
