// Runs the real vitrine-cat program on real files: build, tree and show; pack and unpack; bad
// catalogues, bad sources and bad arguments.
#include "support/TempDir.h"

#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

using testing_support::ReadFileBytes;
using testing_support::TempDir;

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs vitrine-cat with arguments and standard input; collects its exit status and output.
RunResult RunTool(const std::vector<std::string>& arguments, const std::string& input = {}) {
    const TempDir io;
    const std::string in = io.Write("in", input);
    std::string command = ShellQuote(VITRINE_CAT);
    for (const auto& argument : arguments)
        command += " " + ShellQuote(argument);
    command += " < " + ShellQuote(in) + " > " + ShellQuote(io.File("out")) + " 2> " +
               ShellQuote(io.File("err"));
    const int raw = std::system(command.c_str());
    RunResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    result.out = ReadFileBytes(io.File("out"));
    result.err = ReadFileBytes(io.File("err"));
    return result;
}

int LineCount(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// Bad input: status 1, exactly one line on standard error (containing part).
void ExpectOneLineErrorAfterOutput(const RunResult& result, const std::string& part = {}) {
    EXPECT_EQ(result.status, 1) << result.err;
    EXPECT_EQ(LineCount(result.err), 1) << result.err;
    EXPECT_EQ(result.err.back(), '\n');
    EXPECT_NE(result.err.find(part), std::string::npos) << result.err;
}

// The same, with nothing on standard output.
void ExpectOneLineError(const RunResult& result, const std::string& part = {}) {
    ExpectOneLineErrorAfterOutput(result, part);
    EXPECT_EQ(result.out, "");
}

std::uint32_t LoadU32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<std::uint8_t>(bytes.at(at + i));
    return value;
}

// A small source in Windows-1252: "\xc4" is Ä, "\xf6" ö, "\xdf" ß.
const std::string kSmallSource = "OUTLINE [O] 01.06.96 {\n"
                                 "[W]Willkommen\n"
                                 "Ordner\n"
                                 "  [K]Komponente \xc4\n"
                                 "  [S]DATEI.ZIP\n"
                                 "}\n"
                                 "INFOTEXT [W] 03.04.96 {\n"
                                 "<F1>Hallo\n"
                                 "zweite\n"
                                 "}\n"
                                 "COMPONENT [K] {\n"
                                 "; Kommentar\n"
                                 "[ShortName]\n"
                                 "Kurz\n"
                                 "[LastReview]\n"
                                 "20.05.96\n"
                                 "[Rating]\n"
                                 "7\n"
                                 "[Language]\n"
                                 "49\n"
                                 "[Compiler]\n"
                                 "PANDEX, BP\n"
                                 "[KeyWords]\n"
                                 "eins zwei&drei\n"
                                 "[Contact]\n"
                                 "Stra\xdf"
                                 "e 1\n"
                                 "\n"
                                 "[Order]\n"
                                 "per Post\n"
                                 "}\n"
                                 "SHORTTEXT [S] 05.05.95 {\n"
                                 "DATEI.ZIP\n"
                                 " Gr\xf6\xdf"
                                 "e\n"
                                 "}\n";

class VitrineCatCatalogue : public testing::Test {
protected:
    void SetUp() override {
        source_ = dir_.Write("small.src", kSmallSource);
        catalogue_ = dir_.File("cat");
        const RunResult built = RunTool({"build", source_, catalogue_});
        ASSERT_EQ(built.status, 0) << built.err;
        ASSERT_EQ(built.out + built.err, "");
    }

    TempDir dir_;
    std::string source_;
    std::string catalogue_;
};

TEST_F(VitrineCatCatalogue, IndexOutOfRangeIsAnError) {
    ExpectOneLineError(RunTool({"show", catalogue_, "4"}), "4");
    ExpectOneLineError(RunTool({"show", catalogue_, "-1"}), "-1");
    ExpectOneLineError(RunTool({"show", catalogue_, "2147483647"}));
}

TEST_F(VitrineCatCatalogue, DamagedCataloguesAreOneLineErrors) {
    const std::string data = ReadFileBytes(catalogue_ + "/Vitrine32.dat");
    const std::string index = ReadFileBytes(catalogue_ + "/Vitrine32.idx");
    auto damaged = [&](const std::string& name, const std::string& newData,
                       const std::string& newIndex) {
        dir_.Write(name + "/Vitrine32.dat", newData);
        dir_.Write(name + "/Vitrine32.idx", newIndex);
        return dir_.File(name);
    };
    const std::string wrongVersion = std::string("\x02\x00\x03\x00", 4) + data.substr(4);
    ExpectOneLineError(RunTool({"tree", damaged("version", wrongVersion, index)}),
                       "Falsche Datendateien");
    ExpectOneLineError(RunTool({"tree", damaged("short", std::string("\x03\x00", 2), index)}),
                       "Falsche Datendateien");
    // The outline is stored last: cutting the data file cuts its block.
    ExpectOneLineError(RunTool({"tree", damaged("cut", data.substr(0, data.size() - 3), index)}),
                       "Stream read error");
    ExpectOneLineError(RunTool({"tree", damaged("nooutline", data, index.substr(0, 24))}),
                       "Konnte OutlineText nicht laden!");
    std::string junk(data.size(), '\0');
    std::mt19937 random(7);
    for (char& c : junk)
        c = static_cast<char>(random());
    ExpectOneLineError(RunTool({"tree", damaged("junk", data.substr(0, 4) + junk, index)}));
    // The component's block: a stated size beyond the file, then a body of junk.
    const std::uint32_t compo = LoadU32(index, 12), shortText = LoadU32(index, 20);
    std::string hugeBlock = data;
    hugeBlock.replace(compo, 4, "\xff\xff\xff\x7f");
    ExpectOneLineError(RunTool({"show", damaged("huge", hugeBlock, index), "2"}),
                       "Stream read error");
    std::string junkBody = data;
    junkBody.replace(compo + 8, shortText - compo - 8, std::string(shortText - compo - 8, '\xff'));
    ExpectOneLineError(RunTool({"show", damaged("junkbody", junkBody, index), "2"}));
    EXPECT_EQ(RunTool({"show", damaged("junkbody", junkBody, index), "3"}).status, 0);
}

TEST(VitrineCat, MissingCatalogueIsAnError) {
    const TempDir dir;
    ExpectOneLineError(RunTool({"tree", dir.File("nowhere")}), "Cannot open file");
    ExpectOneLineError(RunTool({"show", dir.File("nowhere"), "0"}), "Cannot open file");
    dir.Write("onlydata/Vitrine32.dat", std::string("\x03\x00\x02\x00", 4));
    ExpectOneLineError(RunTool({"tree", dir.File("onlydata")}), "Vitrine32.idx");
}

TEST(VitrineCat, BuildErrorsNameSourceAndLineAndLeaveNoFiles) {
    const TempDir dir;
    struct Case {
        std::string source;
        int line;
    };
    const Case cases[] = {
        {"OUTLINE [O] {\n[A]A\n}\nINFOTEXT [A] {\nx\n}\nTEXT [a] {\ny\n}\n", 7},
        {"OUTLINE [O] {\n[C]C\n}\nCOMPONENT [C] {\n[ShortName]\nName\n[Rating]\n}\n", 4},
    };
    for (const Case& c : cases) {
        const std::string source = dir.Write("bad.src", c.source);
        const RunResult result = RunTool({"build", source, dir.File("out")});
        ExpectOneLineError(result, source + ":" + std::to_string(c.line) + ": ");
        EXPECT_EQ(result.err.rfind(source + ":" + std::to_string(c.line) + ": ", 0), 0u)
            << result.err;
        EXPECT_FALSE(std::filesystem::exists(dir.File("out"))) << c.source;
    }

    // Into an existing folder that holds an older catalogue: it stays as it was.
    dir.Write("old/Vitrine32.dat", "old data");
    dir.Write("old/Vitrine32.idx", "old index");
    ExpectOneLineError(
        RunTool({"build", dir.Write("x.src", "TEXT [A] {\nx\n}\n"), dir.File("old")}), "x.src:");
    EXPECT_EQ(ReadFileBytes(dir.File("old/Vitrine32.dat")), "old data");
    EXPECT_EQ(ReadFileBytes(dir.File("old/Vitrine32.idx")), "old index");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.File("old")),
                            std::filesystem::directory_iterator()),
              2);

    ExpectOneLineError(RunTool({"build", dir.File("missing.src"), dir.File("out")}), "missing.src");
}

std::string SampleBytes(std::size_t size, unsigned seed) {
    const std::string words[] = {"Komponente ", "Gitter ", "Datenbank ", "\xfc", "ber ", "\n"};
    std::mt19937 random(seed);
    std::string text;
    while (text.size() < size)
        text += random() % 4 == 0 ? std::string(1, static_cast<char>(random()))
                                  : words[random() % std::size(words)];
    text.resize(size);
    return text;
}

TEST(VitrineCat, PackWritesOneBlockPerFullBuffer) {
    auto blockSizes = [](const std::string& packed) {
        std::vector<std::uint32_t> sizes;
        for (std::size_t at = 0; at < packed.size(); at += 8 + LoadU32(packed, at))
            sizes.push_back(LoadU32(packed, at + 4));
        return sizes;
    };
    EXPECT_EQ(blockSizes(RunTool({"pack", "--buffer", "7"}, "abcdefghijklmnopqrst").out),
              (std::vector<std::uint32_t>{7, 7, 6}));
    EXPECT_EQ(blockSizes(RunTool({"pack", "--buffer", "7"}, "abcdefg").out),
              (std::vector<std::uint32_t>{7}));
    EXPECT_EQ(blockSizes(RunTool({"pack", "--buffer", "7"}, "abcdefgh").out),
              (std::vector<std::uint32_t>{7, 1}));
    // 17 spaces are one copy from the preset ring: 2 packed bytes.
    EXPECT_EQ(RunTool({"pack"}, std::string(17, ' ')).out,
              std::string("\x02\x00\x00\x00\x11\x00\x00\x00\x7e\xef", 10));
}

// Unpack writes each block as it is decoded: a damaged block ends the output after the good ones.
TEST(VitrineCat, UnpackRejectsDamagedBlocks) {
    const std::string text = SampleBytes(1000, 3);
    const std::string packed = RunTool({"pack", "--buffer", "100"}, text).out;
    const RunResult cut =
        RunTool({"unpack", "--buffer", "100"}, packed.substr(0, packed.size() - 1));
    ExpectOneLineErrorAfterOutput(cut, "Stream read error");
    EXPECT_EQ(cut.out, text.substr(0, 900));
    const RunResult trailing =
        RunTool({"unpack", "--buffer", "100"}, packed + std::string("\x05\x00\x00", 3));
    ExpectOneLineErrorAfterOutput(trailing, "Stream read error");
    EXPECT_EQ(trailing.out, text);
    // Blocks of 100 bytes do not fit a buffer of 99.
    ExpectOneLineError(RunTool({"unpack", "--buffer", "99"}, packed), "Stream read error");
    // A header that promises more than the input holds.
    ExpectOneLineError(RunTool({"unpack"}, std::string("\xff\xff\xff\x7f\x10\x00\x00\x00"
                                                       "ab",
                                                       10)),
                       "Stream read error");
    // An empty block would leave a record reader without bytes.
    ExpectOneLineError(RunTool({"unpack"}, std::string(8, '\0')), "Stream read error");
}

TEST(VitrineCat, HelpAndVersionAnswerOnStandardOutput) {
    const RunResult help = RunTool({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("vitrine-cat search DIR [--case] EXPR\n"), std::string::npos);
    EXPECT_EQ(help.err, "");
    const RunResult version = RunTool({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("vitrine-cat 2.", 0), 0u) << version.out;
}

TEST(VitrineCat, WrongArgumentsPrintTheUsage) {
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{},
                                               {"frobnicate"},
                                               {"tree"},
                                               {"show", "dir"},
                                               {"show", "dir", "x1"},
                                               {"build", "only-source"},
                                               {"pack", "--buffer"},
                                               {"pack", "--buffer", "0"},
                                               {"unpack", "--buffer", "99999999999"},
                                               {"pack", "--size", "7"}}) {
        const RunResult result = RunTool(arguments);
        EXPECT_EQ(result.status, 2) << testing::PrintToString(arguments);
        EXPECT_NE(result.err.find("Usage:"), std::string::npos);
        EXPECT_EQ(result.out, "");
    }
}

} // namespace

TEST_F(VitrineCatCatalogue, SearchExpressionsOutsideWindows1252AreErrors) {
    ExpectOneLineError(RunTool({"search", catalogue_, "\xe6\x97\xa5"}), "Windows-1252");
    EXPECT_EQ(RunTool({"search", catalogue_}).status, 2);
}

TEST_F(VitrineCatCatalogue, SearchStopsAtARecordThatFailsToReadAfterPrintingTheHitsSoFar) {
    const std::string index = ReadFileBytes(catalogue_ + "/Vitrine32.idx");
    std::string data = ReadFileBytes(catalogue_ + "/Vitrine32.dat");
    // The short text (node 3) comes after the info text (node 0): damage its block.
    data.replace(LoadU32(index, 20), 4, "\xff\xff\xff\x7f");
    dir_.Write("damaged/Vitrine32.dat", data);
    dir_.Write("damaged/Vitrine32.idx", index);
    const RunResult result = RunTool({"search", dir_.File("damaged"), "e"});
    EXPECT_EQ(result.out, "0\tWillkommen\n2\tKomponente \xc3\x84\n");
    ExpectOneLineErrorAfterOutput(result, "Stream read error");
}

TEST(VitrineCat, ControlCharactersOfACatalogueAreShownVisiblyInEveryOutput) {
    const TempDir dir;
    const std::string source = dir.Write("ctl.src", "OUTLINE [O] {\n[A]Title\x1b]0;owned\x07\n}\n"
                                                    "SHORTTEXT [A] {\nx\x1b[2J\ty\rz\n}\n");
    ASSERT_EQ(RunTool({"build", source, dir.File("cat")}).status, 0);
    const RunResult tree = RunTool({"tree", dir.File("cat")});
    EXPECT_EQ(tree.out.substr(tree.out.rfind('\t') + 1), "Title\\x1b]0;owned\\x07\n");
    EXPECT_EQ(RunTool({"show", dir.File("cat"), "0"}).out,
              "kind: short\nwrap: 0\nlines: 1\n| x\\x1b[2J\\x09y\\x0dz\n");
    EXPECT_EQ(RunTool({"search", dir.File("cat"), "x"}).out, "0\tTitle\\x1b]0;owned\\x07\n");
    const RunResult error =
        RunTool({"build", dir.Write("bad.src", "OUTLINE [O] {\n[\x1b]x\n}\n"), dir.File("bad")});
    EXPECT_EQ(error.err.find('\x1b'), std::string::npos) << error.err;
}
