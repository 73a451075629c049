#include "catalog/CatalogBuilder.h"

#include "CatalogTestSupport.h"
#include "catalog/Container.h"
#include "catalog/Records.h"
#include "rtl/Exceptions.h"
#include "support/StringLists.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

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
    TIndexedStream indexed(built.data, built.index, true);
    TScriptOutlineText outline(nullptr);
    built.data.SetPosition(IndexEntries(built.index).at(0).Offset);
    outline.AssignStream(indexed);
    outline.Load();
    EXPECT_TRUE(outline.Tree->HasKeys) << "a key of blanks is a key, though it names no record";
    EXPECT_EQ(outline.Tree->Entry(1).RecordRef, -1);

    Built plain;
    BuildInMemory("OUTLINE [o]\nA\n  B\n}\n", plain);
    TIndexedStream plainIndexed(plain.data, plain.index, true);
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
