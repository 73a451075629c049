#include "catalog/CatalogBuilder.h"

#include "CatalogTestSupport.h"
#include "catalog/Container.h"
#include "catalog/Records.h"
#include "rtl/Exceptions.h"
#include "support/ChildProcess.h"
#include "support/StringLists.h"
#include "support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>

using namespace catalog;
using testing_support::TempDir;

namespace {

const std::string kSource = "; Beispielkatalog\r\n"
                            "OUTLINE [Übersicht]\r\n"
                            "Werkzeuge [TOOLS]\r\n"
                            "  Editor [ Edit ]\r\n"
                            "  Packer [zip]\r\n"
                            "Ohne Eintrag\r\n"
                            "  Schlicht [PLAIN]\r\n"
                            "}\r\n"
                            "INFOTEXT [Tools] 12.03.96\r\n"
                            "<F1>Werkzeuge\r\n"
                            "Alles was man\r\n"
                            "braucht.\r\n"
                            "\r\n"
                            " Eingerückt\r\n"
                            "}\r\n"
                            "COMPONENT [Edit]\r\n"
                            "[ShortName]\r\n"
                            "Ed\r\n"
                            "[LongName]\r\n"
                            "Der Editor\r\n"
                            "; Kommentar\r\n"
                            "[LastReview]\r\n"
                            "01.02.97\r\n"
                            "[Compilers]\r\n"
                            "PANDEX, BP\r\n"
                            "[LongInfo]\r\n"
                            "Zeile 1\r\n"
                            "Zeile 2\r\n"
                            "[Rating]\r\n"
                            "4\r\n"
                            "}\r\n"
                            "SHORTTEXT [ZIP] \r\n"
                            "PKZIP.ZIP   Packer\r\n"
                            "}\r\n"
                            "TEXT [plain]\r\n"
                            "schlicht\r\n"
                            "naechste\r\n"
                            "}";

struct Built {
    rtl::TMemoryStream data;
    rtl::TMemoryStream index;
};

void BuildInMemory(const std::string& source, Built& built) {
    BuildCatalogue(source, "quelle.txt", built.data, built.index);
}

std::vector<TIndexEntry> IndexEntries(const rtl::TMemoryStream& index) {
    std::vector<TIndexEntry> entries;
    const auto& bytes = index.Bytes();
    for (std::size_t at = 0; at + 8 <= bytes.size(); at += 8) {
        TIndexEntry entry;
        entry.Id = static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
        entry.Reserved = static_cast<std::uint16_t>(bytes[at + 2] | bytes[at + 3] << 8);
        entry.Offset = static_cast<std::uint32_t>(bytes[at + 4] | bytes[at + 5] << 8 |
                                                  bytes[at + 6] << 16 | bytes[at + 7] << 24);
        entries.push_back(entry);
    }
    return entries;
}

} // namespace

TEST(CatalogueBuild, HasKeysFollowsTheKeysAsParsed) {
    Built built;
    BuildInMemory("OUTLINE [o]\nA\n  B [  ]\n}\n", built);
    TIndexedStream indexed(built.data, built.index);
    TScriptOutlineText outline(nullptr);
    built.data.SetPosition(IndexEntries(built.index).at(0).Offset);
    outline.AssignStream(indexed);
    outline.Load();
    EXPECT_TRUE(outline.Tree->HasKeys) << "a key of blanks is a key, though it names no record";
    EXPECT_EQ(outline.Tree->Entry(1).RecordRef, -1);

    Built plain;
    BuildInMemory("OUTLINE [o]\nA\n  B\n}\n", plain);
    TIndexedStream plainIndexed(plain.data, plain.index);
    TScriptOutlineText plainOutline(nullptr);
    plain.data.SetPosition(4);
    plainOutline.AssignStream(plainIndexed);
    plainOutline.Load();
    EXPECT_FALSE(plainOutline.Tree->HasKeys);
    EXPECT_EQ(plainOutline.Tree->Keys.Count(), 0);
    EXPECT_EQ(plainOutline.Tree->Entry(0).RecordRef, -1);
    EXPECT_EQ(plainOutline.Tree->Entry(0).Date, DefaultDate());
}

TEST(CatalogueBuild, AFailedBuildLeavesNoFiles) {
    const std::vector<std::string> broken{
        "TEXT [a]\nx\n}\nTEXT [A]\ny\n}\nOUTLINE [o]\nA\n}\n",
        "TEXT [a]\nx\n}\n",
    };
    for (const std::string& source : broken) {
        TempDir dir;
        const std::string path = dir.Write("quelle.txt", source);
        const std::filesystem::path out = dir.Path() / "out";
        std::filesystem::create_directory(out);
        EXPECT_THROW(BuildCatalogue(path, out.string()), ECatalogueBuildError) << source;
        EXPECT_TRUE(std::filesystem::is_empty(out)) << source;
    }
}

TEST(CatalogueBuild, AFailedBuildKeepsTheOldCatalogue) {
    TempDir dir;
    BuildCatalogue(dir.Write("gut.txt", kSource), dir.Path().string());
    const std::string before = testing_support::ReadFileBytes(dir.File("Vitrine32.dat"));
    EXPECT_THROW(BuildCatalogue(dir.Write("schlecht.txt", "TEXT [a]\nx\n}\n"), dir.Path().string()),
                 ECatalogueBuildError);
    EXPECT_EQ(testing_support::ReadFileBytes(dir.File("Vitrine32.dat")), before);
    EXPECT_THROW(BuildCatalogue(dir.File("fehlt.txt"), dir.Path().string()), rtl::EFOpenError);
}

namespace {

// A source whose data file packs to well over 64 KiB: letters at random.
std::string BulkySource() {
    std::mt19937 random(5);
    std::string source = "OUTLINE [o]\n[a]A\n}\nSHORTTEXT [a]\n";
    for (int line = 0; line < 4000; ++line) {
        for (int i = 0; i < 60; ++i)
            source += static_cast<char>('a' + random() % 26);
        source += '\n';
    }
    return source + "}\n";
}

std::vector<std::string> FolderNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(CatalogueBuild, AWriteThatFailsAtTheEndIsReportedAndKeepsTheOldPair) {
    TempDir dir;
    const std::string bulky = dir.Write("bulky.txt", BulkySource());
    for (const char* folder : {"measure", "out"})
        std::filesystem::create_directory(dir.File(folder));
    BuildCatalogue(bulky, dir.File("measure"));
    const auto size = std::filesystem::file_size(dir.File("measure/Vitrine32.dat"));
    BuildCatalogue(dir.Write("gut.txt", kSource), dir.File("out"));
    const std::string oldData = testing_support::ReadFileBytes(dir.File("out/Vitrine32.dat"));
    const std::string oldIndex = testing_support::ReadFileBytes(dir.File("out/Vitrine32.idx"));

    // A disk that takes all but the last bytes: only flushing and closing can notice.
    const int status = testing_support::RunInChild([&] {
        testing_support::LimitFileSize(size - 10);
        try {
            BuildCatalogue(bulky, dir.File("out"));
        } catch (const rtl::EWriteError&) {
            return 0;
        }
        return 1;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(testing_support::ReadFileBytes(dir.File("out/Vitrine32.dat")), oldData);
    EXPECT_EQ(testing_support::ReadFileBytes(dir.File("out/Vitrine32.idx")), oldIndex);
    EXPECT_EQ(FolderNames(dir.File("out")),
              (std::vector<std::string>{"Vitrine32.dat", "Vitrine32.idx"}));
}

TEST(CatalogueBuild, WhenTheIndexCannotBePutInPlaceTheOldDataFileComesBack) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("out"));
    BuildCatalogue(dir.Write("gut.txt", kSource), dir.File("out"));
    const std::string oldData = testing_support::ReadFileBytes(dir.File("out/Vitrine32.dat"));
    std::filesystem::remove(dir.File("out/Vitrine32.idx"));
    std::filesystem::create_directories(dir.File("out/Vitrine32.idx/in-the-way"));
    EXPECT_THROW(BuildCatalogue(dir.Write("bulky.txt", BulkySource()), dir.File("out")),
                 rtl::EFCreateError);
    EXPECT_EQ(testing_support::ReadFileBytes(dir.File("out/Vitrine32.dat")), oldData);
    EXPECT_EQ(FolderNames(dir.File("out")),
              (std::vector<std::string>{"Vitrine32.dat", "Vitrine32.idx"}));
}

TEST(CatalogueBuild, ACatalogueFileThatIsALinkIsWrittenThroughToItsTarget) {
    TempDir dir;
    for (const char* folder : {"elsewhere", "out"})
        std::filesystem::create_directory(dir.File(folder));
    BuildCatalogue(dir.Write("gut.txt", kSource), dir.File("elsewhere"));
    std::filesystem::create_symlink("../elsewhere/Vitrine32.dat", dir.File("out/Vitrine32.dat"));
    BuildCatalogue(dir.Write("bulky.txt", BulkySource()), dir.File("out"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("out/Vitrine32.dat")));
    EXPECT_EQ(testing_support::ReadFileBytes(dir.File("elsewhere/Vitrine32.dat")),
              testing_support::ReadFileBytes(dir.File("out/Vitrine32.dat")));
    EXPECT_GT(std::filesystem::file_size(dir.File("elsewhere/Vitrine32.dat")), 64000u);
}
