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

std::string BuildError(const std::string& source) {
    Built built;
    try {
        BuildInMemory(source, built);
    } catch (const ECatalogueBuildError& error) {
        return error.Message();
    }
    return "no error";
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

TEST(CatalogueBuild, StoresSectionsInSourceOrderAndTheOutlineLast) {
    Built built;
    BuildInMemory(kSource, built);
    const auto& data = built.data.Bytes();
    ASSERT_GE(data.size(), 4u);
    EXPECT_EQ(std::vector<std::uint8_t>(data.begin(), data.begin() + 4),
              (std::vector<std::uint8_t>{3, 0, 2, 0}));
    const std::vector<TIndexEntry> entries = IndexEntries(built.index);
    ASSERT_EQ(entries.size(), 5u);
    const std::vector<std::uint16_t> ids{kInfoTextId, kCompoTextId, kShortTextId, kScriptTextId,
                                         kOutlineTextId};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].Id, ids[i]);
        EXPECT_EQ(entries[i].Reserved, 0);
    }
    EXPECT_EQ(entries[0].Offset, 4u);
    for (std::size_t i = 1; i < entries.size(); ++i)
        EXPECT_GT(entries[i].Offset, entries[i - 1].Offset);
}

TEST(CatalogueBuild, OneSourceAlwaysGivesTheSameBytes) {
    Built first;
    Built second;
    BuildInMemory(kSource, first);
    BuildInMemory(kSource, second);
    EXPECT_EQ(first.data.Bytes(), second.data.Bytes());
    EXPECT_EQ(first.index.Bytes(), second.index.Bytes());
}

TEST(CatalogueBuild, EveryRecordReadsBackThroughTheContainer) {
    TempDir dir;
    BuildCatalogue(dir.Write("quelle.txt", kSource), dir.Path().string());
    TBrowzerContainer container(nullptr);
    container.DataFileName = dir.File("Vitrine32.dat");
    container.IndexFileName = dir.File("Vitrine32.idx");
    container.CheckVersion();
    container.SetActive(true);
    TTreeViewData tree;
    container.LoadTree(tree);

    ASSERT_EQ(tree.Count(), 5);
    EXPECT_TRUE(tree.HasKeys);
    EXPECT_EQ(tree.RootCount, 2);
    const std::vector<std::string> names{"Werkzeuge ", "Ohne Eintrag", "Editor ", "Packer ",
                                         "Schlicht "};
    EXPECT_EQ(testing_support::ItemsOf(tree.Names), names);
    EXPECT_EQ(testing_support::ItemsOf(tree.Keys),
              (std::vector<std::string>{"TOOLS", "", " Edit ", "zip", "PLAIN"}));
    const std::vector<RecordKind> kinds{RecordKind::Info, RecordKind::None, RecordKind::Compo,
                                        RecordKind::Short, RecordKind::Info};
    const std::vector<rtl::TDateTime> dates{rtl::StrToDate("12.03.96"), DefaultDate(),
                                            rtl::StrToDate("01.02.97"), DefaultDate(),
                                            DefaultDate()};
    const std::vector<TIndexEntry> index = [&] {
        rtl::TMemoryStream copy;
        copy.LoadFromFile(container.IndexFileName);
        return IndexEntries(copy);
    }();
    const std::vector<std::uint32_t> offsets{index[0].Offset, 0, index[1].Offset, index[2].Offset,
                                             index[3].Offset};
    for (int node = 0; node < tree.Count(); ++node) {
        const TTVRevEntry entry = tree.Entry(node);
        EXPECT_EQ(RecordKindOf(entry.RecordRef), kinds[static_cast<std::size_t>(node)]) << node;
        EXPECT_EQ(RecordOffset(entry.RecordRef), offsets[static_cast<std::size_t>(node)]) << node;
        EXPECT_EQ(entry.Date, dates[static_cast<std::size_t>(node)]) << node;
    }

    TIndexedStream& indexed = *container.Indexed();
    auto load = [&](TScriptComponent& record, int node) {
        indexed.DataStream().SetPosition(RecordOffset(tree.Entry(node).RecordRef));
        record.AssignStream(indexed);
        record.Load();
    };
    TScriptInfoText info(nullptr);
    load(info, 0);
    EXPECT_TRUE(info.Wrap);
    EXPECT_EQ(
        testing_support::ItemsOf(info.Lines),
        (std::vector<std::string>{"<F1>Werkzeuge Alles was man braucht.", "", " Eingerückt"}));
    TCompoText compo(nullptr);
    load(compo, 2);
    EXPECT_EQ(compo.ShortName, "Ed");
    EXPECT_EQ(compo.LongName, "Der Editor");
    EXPECT_EQ(compo.LastReview, "01.02.97");
    EXPECT_EQ(compo.Compilers, kCompilerPandex | kCompilerBP);
    EXPECT_EQ(compo.Rating, 4);
    EXPECT_EQ(testing_support::ItemsOf(compo.LongInfo),
              (std::vector<std::string>{"Zeile 1", "Zeile 2"}));
    TShortText shortText(nullptr);
    load(shortText, 3);
    EXPECT_FALSE(shortText.Wrap);
    EXPECT_EQ(testing_support::ItemsOf(shortText.Lines),
              std::vector<std::string>{"PKZIP.ZIP   Packer"});
    TScriptInfoText plain(nullptr);
    load(plain, 4);
    EXPECT_FALSE(plain.Wrap);
    EXPECT_EQ(testing_support::ItemsOf(plain.Lines),
              (std::vector<std::string>{"schlicht", "naechste"}));
}

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

TEST(CatalogueBuild, ErrorsNameTheSourceAndTheHeaderLine) {
    EXPECT_EQ(BuildError("TEXT [a]\nx\n}\nOUTLINE [o]\nA\n}\nINFOTEXT [ A ]\ny\n}\n"),
              "quelle.txt:7: duplicate section name 'A'");
    EXPECT_EQ(BuildError("TEXT [a]\nx\n}\nOUTLINE [o]\nA [b]\n}\n"),
              "quelle.txt:4: unknown outline key 'b'");
    EXPECT_EQ(BuildError("TEXT [a]\nx\n}\nTEXT [b]\ny\n}"), "quelle.txt:6: no OUTLINE section");
    EXPECT_EQ(BuildError(""), "quelle.txt:1: no OUTLINE section");
    EXPECT_EQ(BuildError("OUTLINE [o]\nA\n}\nOUTLINE [p]\nB\n}\n"),
              "quelle.txt:4: second OUTLINE section");
    EXPECT_EQ(BuildError("OUTLINE [o]\nA\n}\nCOMPONENT [c]\n[ShortName]\nx\n[Price]\n}\n"),
              "quelle.txt:4: List index out of bounds");
}

TEST(CatalogueBuild, SectionsWithoutANameNeedNoUniqueName) {
    Built built;
    BuildInMemory("TEXT\nx\n}\nTEXT ohne\ny\n}\nOUTLINE [o]\nA\n}\n", built);
    EXPECT_EQ(IndexEntries(built.index).size(), 3u);
}

TEST(CatalogueBuild, AFailedBuildLeavesNoFiles) {
    const std::vector<std::string> broken{
        "TEXT [a]\nx\n}\nTEXT [A]\ny\n}\nOUTLINE [o]\nA\n}\n",
        "OUTLINE [o]\nA [nix]\n}\n",
        "TEXT [a]\nx\n}\n",
        "OUTLINE [o]\nA\n}\nOUTLINE [p]\nB\n}\n",
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
