// Extracting real archives through the library's entry: members, folders, names, attributes,
// overwrite questions, progress, texts and cancelling.
#include "dunzip/UnzipHarness.h"
#include "platform/ScopedConfigFolder.h"
#include "support/RandomText.h"
#include "support/TempDir.h"
#include "support/ZipFiles.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>

using testing_support::RawMember;
using testing_support::RawZip;
using testing_support::ReadFileBytes;
using testing_support::TempDir;
using testing_support::WriteZip;
using unzip_testing::TreeOf;
using unzip_testing::UnzipRun;
namespace fs = std::filesystem;

namespace {

std::string RandomText(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    return testing_support::RandomText(random, "abcdefghijklmnopqrstuvwxyz", size);
}

bool IsReadOnly(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && (info.st_mode & S_IWUSR) == 0;
}

// The entries of folder whose names look like the library's temporary files.
std::vector<std::string> TemporaryFilesIn(const fs::path& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.path().filename().string().starts_with(".~"))
            found.push_back(entry.path().string());
    return found;
}

} // namespace

TEST(Extract, StoredAndDeflatedMembersWithFoldersTimesAndReadOnly) {
    const TempDir dir;
    const std::string text = RandomText(100000, 1);
    WriteZip(dir.File("a.zip"), {{"README.TXT", "stored text", false},
                                 {"SRC/", ""},
                                 {"SRC/UNIT.PAS", text, true},
                                 {"DOC/DEEP/ER/NOTE.TXT", "deep", true, true, 840000000}});
    UnzipRun run(dir.File("a.zip"), dir.File("out"));
    fs::create_directory(dir.File("out"));
    EXPECT_EQ(run.Run(), DUNZIP_OK);
    EXPECT_EQ(run.returnCount, 3);
    EXPECT_EQ(TreeOf(dir.File("out")),
              (std::vector<std::string>{"DOC/", "DOC/DEEP/", "DOC/DEEP/ER/", "DOC/DEEP/ER/NOTE.TXT",
                                        "README.TXT", "SRC/", "SRC/UNIT.PAS"}));
    EXPECT_EQ(ReadFileBytes(dir.File("out/README.TXT")), "stored text");
    EXPECT_EQ(ReadFileBytes(dir.File("out/SRC/UNIT.PAS")), text);
    EXPECT_TRUE(IsReadOnly(dir.File("out/DOC/DEEP/ER/NOTE.TXT")));
    EXPECT_FALSE(IsReadOnly(dir.File("out/README.TXT")));
    struct stat info {};
    ASSERT_EQ(stat(dir.File("out/DOC/DEEP/ER/NOTE.TXT").c_str(), &info), 0);
    // DOS times have two-second steps.
    EXPECT_NEAR(static_cast<double>(info.st_mtime), 840000000.0, 2.0);
    EXPECT_TRUE(run.stops.empty());
    EXPECT_EQ(run.major.back(), 100);
}

TEST(Extract, NamesAreCodePage437UnlessMarkedUtf8) {
    const TempDir dir;
    // "ÄNDERUNG.TXT" in code page 437, and the same bytes marked as UTF-8 "ÜBER.TXT".
    RawMember cp437;
    cp437.name = "\x8E"
                 "NDERUNG.TXT";
    cp437.data = "cp437";
    RawMember utf8;
    utf8.name = "\xC3\x9C"
                "BER.TXT";
    utf8.data = "utf8";
    utf8.flags = 0x0800;
    dir.Write("names.zip", RawZip({cp437, utf8}));
    fs::create_directory(dir.File("out"));
    UnzipRun run(dir.File("names.zip"), dir.File("out"));
    EXPECT_EQ(run.Run(), DUNZIP_OK);
    EXPECT_EQ(ReadFileBytes(dir.File("out/\xC3\x84NDERUNG.TXT")), "cp437");
    EXPECT_EQ(ReadFileBytes(dir.File("out/\xC3\x9C"
                                     "BER.TXT")),
              "utf8");
    // Texts are Windows-1252: Ä is 0xC4.
    ASSERT_FALSE(run.minor.empty());
    EXPECT_EQ(run.minor.front().item, "Unzipping file: \xC4NDERUNG.TXT");
}

TEST(Extract, OverwriteQuestionsComeBeforeAnythingIsWritten) {
    const TempDir dir;
    WriteZip(dir.File("a.zip"), {{"KEEP.TXT", "new keep"},
                                 {"SUB/REPLACE.TXT", "new replace"},
                                 {"RO.TXT", "new ro"},
                                 {"FRESH.TXT", "fresh"}});
    dir.Write("out/KEEP.TXT", "old keep");
    dir.Write("out/SUB/REPLACE.TXT", "old replace");
    const std::string readOnly = dir.Write("out/RO.TXT", "old ro");
    chmod(readOnly.c_str(), 0444);

    UnzipRun run(dir.File("a.zip"), dir.File("out"));
    run.answer = [&](const std::string& question) {
        // While the user is asked, the old file is there and nothing new is.
        EXPECT_TRUE(TemporaryFilesIn(dir.File("out")).empty());
        EXPECT_FALSE(fs::exists(dir.File("out/FRESH.TXT")));
        return question.find("KEEP") != std::string::npos ? DUNZIP_NO : DUNZIP_YES;
    };
    EXPECT_EQ(run.Run(), DUNZIP_OK);
    const std::string out = dir.File("out");
    EXPECT_EQ(run.questions,
              (std::vector<std::string>{
                  "File " + out + "/KEEP.TXT already exists. Overwrite it?",
                  "File " + out + "/SUB/REPLACE.TXT already exists. Overwrite it?",
                  "File " + out + "/RO.TXT already exists and is read-only. Overwrite it?"}));
    EXPECT_EQ(ReadFileBytes(dir.File("out/KEEP.TXT")), "old keep");
    EXPECT_EQ(ReadFileBytes(dir.File("out/SUB/REPLACE.TXT")), "new replace");
    EXPECT_EQ(ReadFileBytes(readOnly), "new ro");
    EXPECT_FALSE(IsReadOnly(readOnly)) << "the member's own attributes";
    EXPECT_EQ(ReadFileBytes(dir.File("out/FRESH.TXT")), "fresh");
    EXPECT_EQ(run.returnCount, 3);
}

TEST(Extract, OverwriteFlagAsksOnlyForReadOnlyTargetsUnlessTheSubOptionIsSet) {
    const TempDir dir;
    WriteZip(dir.File("a.zip"), {{"A.TXT", "new a"}, {"RO.TXT", "new ro"}});
    dir.Write("out/A.TXT", "old a");
    chmod(dir.Write("out/RO.TXT", "old ro").c_str(), 0444);
    UnzipRun flagOnly(dir.File("a.zip"), dir.File("out"));
    flagOnly.overwrite = true;
    EXPECT_EQ(flagOnly.Run(), DUNZIP_OK);
    EXPECT_EQ(flagOnly.questions.size(), 1u);
    EXPECT_EQ(ReadFileBytes(dir.File("out/A.TXT")), "new a");
    EXPECT_EQ(ReadFileBytes(dir.File("out/RO.TXT")), "old ro");

    UnzipRun withSubOption(dir.File("a.zip"), dir.File("out"));
    withSubOption.overwrite = true;
    withSubOption.overwriteReadOnly = true;
    EXPECT_EQ(withSubOption.Run(), DUNZIP_OK);
    EXPECT_TRUE(withSubOption.questions.empty());
    EXPECT_EQ(ReadFileBytes(dir.File("out/RO.TXT")), "new ro");
}

TEST(Extract, CancelAtAQuestionEndsTheRunAndKeepsWhatWasDone) {
    const TempDir dir;
    WriteZip(dir.File("a.zip"), {{"1.TXT", "one"}, {"2.TXT", "new two"}, {"3.TXT", "three"}});
    dir.Write("out/2.TXT", "old two");
    UnzipRun run(dir.File("a.zip"), dir.File("out"));
    run.answer = [](const std::string&) { return DUNZIP_CANCEL; };
    EXPECT_EQ(run.Run(), DUNZIP_CANCELLED);
    EXPECT_EQ(TreeOf(dir.File("out")), (std::vector<std::string>{"1.TXT", "2.TXT"}));
    EXPECT_EQ(ReadFileBytes(dir.File("out/2.TXT")), "old two");
    ASSERT_EQ(run.stops.size(), 1u);
    EXPECT_EQ(run.stops[0].reason, DUNZIP_STOP_CANCELLED);
    EXPECT_EQ(run.stops[0].message, "Unzipping cancelled.");
}

TEST(Extract, MinorProgressRisesPerMemberAndCancelLeavesNoPartialFile) {
    const TempDir dir;
    const std::string big = RandomText(3 * 1024 * 1024, 2);
    WriteZip(dir.File("a.zip"), {{"EMPTY.TXT", ""}, {"BIG.TXT", big}});
    dir.Write("out/BIG.TXT", "old big");
    UnzipRun run(dir.File("a.zip"), dir.File("out"));
    run.overwrite = true;
    EXPECT_EQ(run.Run(), DUNZIP_OK);
    EXPECT_EQ(ReadFileBytes(dir.File("out/BIG.TXT")), big);
    std::vector<int> empty;
    std::vector<int> large;
    for (const auto& progress : run.minor)
        (progress.item.ends_with("EMPTY.TXT") ? empty : large).push_back(progress.percent);
    EXPECT_EQ(empty, (std::vector<int>{0, 100}));
    ASSERT_GE(large.size(), 4u);
    EXPECT_TRUE(std::is_sorted(large.begin(), large.end()));
    EXPECT_EQ(large.front(), 0);
    EXPECT_EQ(large.back(), 100);
    EXPECT_EQ(std::count(large.begin(), large.end(), 100), 1);

    dir.Write("out/BIG.TXT", "old big");
    UnzipRun cancelled(dir.File("a.zip"), dir.File("out"));
    cancelled.overwrite = true;
    cancelled.onMinor = [](const unzip_testing::Progress& progress) {
        return progress.item.ends_with("BIG.TXT") && progress.percent > 0;
    };
    EXPECT_EQ(cancelled.Run(), DUNZIP_CANCELLED);
    EXPECT_EQ(ReadFileBytes(dir.File("out/BIG.TXT")), "old big");
    EXPECT_TRUE(TemporaryFilesIn(dir.File("out")).empty());
    EXPECT_EQ(cancelled.Reasons(), std::vector<int>{DUNZIP_STOP_CANCELLED});
}

TEST(Extract, EveryTextIsAskedForAndReplacementsAreUsedCutToTheBuffer) {
    const TempDir dir;
    WriteZip(dir.File("a.zip"), {{"A.TXT", "a"}, {"../B.TXT", "b"}});
    dir.Write("out/A.TXT", "old");
    UnzipRun run(dir.File("a.zip"), dir.File("out"));
    run.answer = [](const std::string&) { return DUNZIP_YES; };
    run.texts[DUNZIP_TEXT_OVERWRITE] = "Ersetzen: %s? %s %n %x";
    run.texts[DUNZIP_TEXT_CAPTION] = "Entpacker";
    run.texts[DUNZIP_TEXT_UNPACKING] = std::string(1000, 'x');
    run.texts[DUNZIP_TEXT_UNSAFE_PATH] = "%s: unsicher";
    EXPECT_EQ(run.Run(), DUNZIP_MEMBER_FAILED);
    ASSERT_EQ(run.questions.size(), 1u);
    // Only "%s" is filled in, once per argument; the rest stays as it is.
    EXPECT_EQ(run.questions[0], "Ersetzen: " + dir.File("out") + "/A.TXT?  %n %x");
    EXPECT_EQ(run.captions[0], "Entpacker");
    ASSERT_FALSE(run.minor.empty());
    EXPECT_EQ(run.minor[0].item, std::string(DUNZIP_TEXT_BUFFER_SIZE - 1, 'x'));
    ASSERT_EQ(run.stops.size(), 1u);
    EXPECT_EQ(run.stops[0].message, "../B.TXT: unsicher");
}

TEST(Extract, FileSpecSelectsByNameOrLastPart) {
    const TempDir dir;
    WriteZip(dir.File("a.zip"), {{"A.TXT", "a"}, {"B.PAS", "b"}, {"SUB/C.TXT", "c"}});
    fs::create_directory(dir.File("out"));
    UnzipRun run(dir.File("a.zip"), dir.File("out"));
    run.fileSpec = "*.txt";
    EXPECT_EQ(run.Run(), DUNZIP_OK);
    EXPECT_EQ(TreeOf(dir.File("out")), (std::vector<std::string>{"A.TXT", "SUB/", "SUB/C.TXT"}));
    EXPECT_EQ(run.returnCount, 2);
}

TEST(Extract, DosPathsGoThroughTheDriveTable) {
    const TempDir dir;
    const testing_support::ScopedConfigFolder config;
    config.Write("drives", "x: = " + dir.Path().string() + "  cdrom  KSTRV02\n");
    fs::create_directory(dir.File("KOMP"));
    WriteZip(dir.File("KOMP/DEMO.ZIP"), {{"DEMO.PAS", "new"}});
    dir.Write("Ziel/DEMO.PAS", "old");
    UnzipRun run("x:\\komp\\demo.zip", "X:\\ZIEL\\");
    run.answer = [](const std::string&) { return DUNZIP_YES; };
    EXPECT_EQ(run.Run(), DUNZIP_OK);
    EXPECT_EQ(run.questions,
              std::vector<std::string>{"File X:\\ZIEL\\DEMO.PAS already exists. Overwrite it?"});
    EXPECT_EQ(ReadFileBytes(dir.File("Ziel/DEMO.PAS")), "new");
}
