// "vitrine-cat unzip": the command's function with its arguments, the library loaded by name as
// the tool does, standard error caught in a file.
#include "cli/UnzipCommand.h"

#include "support/TempDir.h"
#include "support/ZipFiles.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

using testing_support::RawMember;
using testing_support::ReadFileBytes;
using testing_support::TempDir;
namespace fs = std::filesystem;

namespace {

struct Outcome {
    int status = -1;
    std::string err;
};

// Runs the command with standard error going to a file.
Outcome Unzip(const std::vector<std::string>& arguments) {
    const TempDir io;
    const std::string errPath = io.File("err");
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    std::FILE* err = std::fopen(errPath.c_str(), "w");
    dup2(fileno(err), STDERR_FILENO);
    Outcome outcome;
    try {
        outcome.status = cli::RunUnzip(arguments);
    } catch (const cli::UsageError&) {
        outcome.status = 2;
    }
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    std::fclose(err);
    outcome.err = ReadFileBytes(errPath);
    return outcome;
}

} // namespace

TEST(UnzipCommand, UnpacksIntoANewFolderAndAnswersQuestionsAsTold) {
    const TempDir dir;
    testing_support::WriteZip(dir.File("a.zip"), {{"A.TXT", "new a"}, {"SUB/B.TXT", "b"}});
    const std::string out = dir.File("new/folder");
    EXPECT_EQ(Unzip({dir.File("a.zip"), out}).status, 0);
    EXPECT_EQ(ReadFileBytes(out + "/SUB/B.TXT"), "b");

    dir.Write("new/folder/A.TXT", "mine");
    const Outcome none = Unzip({dir.File("a.zip"), out});
    EXPECT_EQ(none.status, 0) << "a declined overwrite is no failure";
    EXPECT_EQ(none.err, "");
    EXPECT_EQ(ReadFileBytes(out + "/A.TXT"), "mine");
    EXPECT_EQ(Unzip({dir.File("a.zip"), out, "--none"}).status, 0);
    EXPECT_EQ(ReadFileBytes(out + "/A.TXT"), "mine");
    EXPECT_EQ(Unzip({"--all", dir.File("a.zip"), out}).status, 0);
    EXPECT_EQ(ReadFileBytes(out + "/A.TXT"), "new a");
}

TEST(UnzipCommand, EachRefusedOrFailedMemberIsOneGermanLine) {
    const TempDir dir;
    RawMember slip;
    slip.name = "../BOESE.TXT";
    slip.data = "evil";
    RawMember bad;
    bad.name = "KAPUTT.TXT";
    bad.data = "data";
    bad.crc = 1;
    RawMember good;
    good.name = "GUT.TXT";
    good.data = "good";
    dir.Write("a.zip", testing_support::RawZip({slip, bad, good}));
    const Outcome outcome = Unzip({dir.File("a.zip"), dir.File("out")});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "../BOESE.TXT: unsicherer Pfad außerhalb des Zielverzeichnisses, "
                           "nicht entpackt.\n"
                           "KAPUTT.TXT: CRC-Fehler, nicht entpackt.\n");
    EXPECT_EQ(ReadFileBytes(dir.File("out/GUT.TXT")), "good");
    EXPECT_FALSE(fs::exists(dir.File("BOESE.TXT")));
}

TEST(UnzipCommand, MissingArchiveAndWrongArguments) {
    const TempDir dir;
    const Outcome missing = Unzip({dir.File("nichts.zip"), dir.File("out")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "Archiv " + dir.File("nichts.zip") +
                               " kann nicht gelesen werden: Datei nicht gefunden.\n");
    EXPECT_EQ(Unzip({dir.File("a.zip")}).status, 2);
    EXPECT_EQ(Unzip({"a.zip", "out", "--all", "--none"}).status, 2);
}
