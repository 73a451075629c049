#include "catalog/Container.h"

#include "CatalogTestSupport.h"
#include "catalog/AllocationProbe.h"
#include "catalog/Records.h"
#include "rtl/Exceptions.h"
#include "rtl/Filer.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

using namespace catalog;
using testing_support::TempDir;

namespace {

const std::string kVersion("\x03\x00\x02\x00", 4);

std::string IndexEntry(std::uint16_t id, std::uint32_t offset) {
    std::string entry(8, '\0');
    entry[0] = static_cast<char>(id);
    entry[1] = static_cast<char>(id >> 8);
    for (int i = 0; i < 4; ++i)
        entry[static_cast<std::size_t>(4 + i)] = static_cast<char>(offset >> (8 * i));
    return entry;
}

// Appends tree as an outline record; returns its offset.
std::uint32_t AppendOutline(rtl::TMemoryStream& data, const TTreeViewData& tree) {
    data.Seek(0, rtl::SeekOrigin::End);
    const auto offset = static_cast<std::uint32_t>(data.Position());
    TKVPacker packer(data);
    rtl::TWriter writer(packer, kOutlineBufferSize);
    tree.WriteData(writer);
    writer.FlushBuffer();
    return offset;
}

TTreeViewData TreeOf(std::initializer_list<std::pair<std::string, std::int32_t>> nodes) {
    TTreeViewData tree;
    for (const auto& [name, ref] : nodes) {
        TTVRevEntry entry;
        entry.Name = name;
        entry.Parent = -1;
        entry.Date = rtl::EncodeDate(1997, 1, 1);
        tree.SetRecordRef(tree.AddNode(entry), ref);
    }
    return tree;
}

// count nodes named prefix and their number, node i under parentOf(i), all of one date.
TTreeViewData NumberedTree(int count, const std::string& prefix, int (*parentOf)(int)) {
    TTreeViewData tree;
    for (int i = 0; i < count; ++i) {
        TTVRevEntry entry;
        entry.Name = prefix + std::to_string(i);
        entry.Parent = parentOf(i);
        entry.Date = rtl::EncodeDate(1996, 5, 2);
        tree.AddNode(entry);
    }
    return tree;
}

std::string Bytes(const rtl::TMemoryStream& stream) {
    return catalog_test::Bytes(stream.Bytes());
}

// A data file: the version word, then tree as the outline record at offset.
std::string OutlineDataFile(const TTreeViewData& tree, std::uint32_t& offset) {
    rtl::TMemoryStream data;
    data.WriteBuffer(kVersion.data(), 4);
    offset = AppendOutline(data, tree);
    return Bytes(data);
}

class ContainerTest : public testing::Test {
protected:
    void WriteCatalogue(const std::string& data, const std::string& index) {
        dir.Write(kDefaultDataFileName, data);
        dir.Write(kDefaultIndexFileName, index);
        container.DataFileName = dir.File(kDefaultDataFileName);
        container.IndexFileName = dir.File(kDefaultIndexFileName);
    }

    // A catalogue whose only record is the outline tree.
    void WriteOutlineCatalogue(const TTreeViewData& tree) {
        std::uint32_t offset = 0;
        const std::string data = OutlineDataFile(tree, offset);
        WriteCatalogue(data, IndexEntry(kOutlineTextId, offset));
    }

    // Opens other on the files the fixture's container names.
    void OpenSameFiles(TBrowzerContainer& other) const {
        other.DataFileName = container.DataFileName;
        other.IndexFileName = container.IndexFileName;
        other.SetActive(true);
    }

    TempDir dir;
    TBrowzerContainer container{nullptr};
};

} // namespace

TEST_F(ContainerTest, SettingActiveTwiceDoesNotReopenTheFiles) {
    WriteOutlineCatalogue(TreeOf({{"A", -1}}));
    EXPECT_EQ(container.Indexed(), nullptr);
    container.SetActive(true);
    TIndexedStream* opened = container.Indexed();
    ASSERT_NE(opened, nullptr);
    container.SetActive(true);
    EXPECT_EQ(container.Indexed(), opened);
    container.SetActive(false);
    container.SetActive(false);
    EXPECT_FALSE(container.Active());
    EXPECT_EQ(container.Indexed(), nullptr);
}

TEST_F(ContainerTest, AMissingFileFailsToOpenAndStaysRecordedActive) {
    container.DataFileName = dir.File("fehlt.dat");
    container.IndexFileName = dir.File("fehlt.idx");
    EXPECT_THROW(container.SetActive(true), rtl::EFOpenError);
    EXPECT_TRUE(container.Active());
    TTreeViewData tree;
    EXPECT_THROW(container.LoadTree(tree), EBrowzerError);
    container.SetActive(false);
    EXPECT_FALSE(container.Active());
    EXPECT_THROW(container.CheckVersion(), rtl::EFOpenError);
}

TEST_F(ContainerTest, CheckVersionLeavesTheContainerAsItFoundIt) {
    WriteOutlineCatalogue(TreeOf({{"A", -1}}));
    container.CheckVersion();
    EXPECT_FALSE(container.Active());
    container.SetActive(true);
    TIndexedStream* opened = container.Indexed();
    container.CheckVersion();
    EXPECT_TRUE(container.Active());
    EXPECT_EQ(container.Indexed(), opened);
}

TEST_F(ContainerTest, AWrongVersionGoesToTheHook) {
    std::vector<std::string> reported;
    container.OnWrongVersion = [&](const std::string& message) { reported.push_back(message); };
    WriteCatalogue(kVersion + "rest", "");
    container.CheckVersion();
    EXPECT_TRUE(reported.empty());
    WriteCatalogue(std::string("\x02\x00\x03\x00", 4), "");
    container.CheckVersion();
    WriteCatalogue(std::string("\x03\x00", 2), "");
    container.CheckVersion();
    const std::string message = "Falsche Datendateien - bitte kopieren Sie die richtigen Dateien "
                                "der Version: 3 in das DATA-Verzeichnis!";
    EXPECT_EQ(reported, (std::vector<std::string>{message, message}));
}

TEST_F(ContainerTest, TheDefaultHookThrowsTheVersionMessageAndClosesAgain) {
    WriteCatalogue(std::string("\x02\x00\x03\x00", 4), "");
    try {
        container.CheckVersion();
        FAIL() << "no error";
    } catch (const EBrowzerError& error) {
        EXPECT_EQ(error.Message(), WrongVersionMessage());
    }
    EXPECT_FALSE(container.Active());
}

TEST_F(ContainerTest, LoadTreeDoesNothingWhileClosed) {
    WriteOutlineCatalogue(TreeOf({{"A", -1}}));
    TTreeViewData tree;
    container.LoadTree(tree);
    EXPECT_EQ(tree.Count(), 0);
    EXPECT_EQ(container.TreeData(), nullptr);
}

TEST_F(ContainerTest, LoadTreeFillsTheCallersTreeData) {
    const TTreeViewData stored = TreeOf({{"A", -1}, {"B", 0x40000010}});
    WriteOutlineCatalogue(stored);
    container.SetActive(true);
    TTreeViewData tree;
    container.LoadTree(tree);
    EXPECT_EQ(container.TreeData(), &tree);
    EXPECT_EQ(tree.Names, stored.Names);
    EXPECT_EQ(tree.Entry(1).RecordRef, 0x40000010);
}

TEST_F(ContainerTest, AnIndexWithoutAnOutlineEntryCannotLoadTheTree) {
    WriteCatalogue(kVersion, IndexEntry(kCompoTextId, 4) + IndexEntry(kInfoTextId, 4) + "\x03");
    container.SetActive(true);
    TTreeViewData tree;
    try {
        container.LoadTree(tree);
        FAIL() << "no error";
    } catch (const EBrowzerError& error) {
        EXPECT_EQ(error.Message(), "Konnte OutlineText nicht laden!");
    }
}

TEST_F(ContainerTest, TheFirstOutlineEntryWins) {
    rtl::TMemoryStream data;
    data.WriteBuffer(kVersion.data(), 4);
    const std::uint32_t first = AppendOutline(data, TreeOf({{"erste", -1}}));
    const std::uint32_t second = AppendOutline(data, TreeOf({{"zweite", -1}}));
    WriteCatalogue(Bytes(data), IndexEntry(kCompoTextId, second) +
                                    IndexEntry(kOutlineTextId, first) +
                                    IndexEntry(kOutlineTextId, second));
    container.SetActive(true);
    TTreeViewData tree;
    container.LoadTree(tree);
    EXPECT_EQ(tree.Entry(0).Name, "erste");
}

TEST_F(ContainerTest, ARecordIsReadAtItsReferencesOffset) {
    rtl::TMemoryStream data;
    rtl::TMemoryStream unusedIndex;
    data.WriteBuffer((kVersion + std::string(12, '\xEE')).data(), 16);
    {
        TIndexedStream indexed(data, unusedIndex);
        TCompoText compo(nullptr);
        compo.ShortName = "Bei 16";
        compo.AssignStream(indexed);
        compo.Store();
        ASSERT_EQ(compo.Offset, 16u);
    }
    const std::uint32_t outline =
        AppendOutline(data, TreeOf({{"k", static_cast<std::int32_t>(0x80000010u)},
                                    {"s", 0x40000010},
                                    {"i", 0x00000010},
                                    {"n", -1}}));
    WriteCatalogue(Bytes(data), IndexEntry(kOutlineTextId, outline));
    container.SetActive(true);
    TTreeViewData tree;
    container.LoadTree(tree);

    const std::vector<RecordKind> kinds{RecordKind::Compo, RecordKind::Short, RecordKind::Info};
    for (int node = 0; node < 3; ++node) {
        EXPECT_EQ(RecordKindOf(tree.Entry(node).RecordRef), kinds[static_cast<std::size_t>(node)]);
        EXPECT_EQ(RecordOffset(tree.Entry(node).RecordRef), 16u);
    }
    EXPECT_EQ(RecordKindOf(tree.Entry(3).RecordRef), RecordKind::None);

    TCompoText compo(nullptr);
    compo.Offset = RecordOffset(tree.Entry(0).RecordRef);
    container.Indexed()->DataStream().SetPosition(compo.Offset);
    compo.AssignStream(*container.Indexed());
    compo.Load();
    EXPECT_EQ(compo.ShortName, "Bei 16");
}

TEST_F(ContainerTest, ATruncatedDataFileIsAnErrorAtEveryLength) {
    const TTreeViewData big =
        NumberedTree(40, "Knoten ", [](int i) { return i < 10 ? -1 : i % 10; });
    std::uint32_t offset = 0;
    const std::string full = OutlineDataFile(big, offset);
    for (std::size_t length = 0; length < full.size(); ++length) {
        WriteCatalogue(full.substr(0, length), IndexEntry(kOutlineTextId, offset));
        TBrowzerContainer truncated(nullptr);
        OpenSameFiles(truncated);
        TTreeViewData tree;
        EXPECT_THROW(truncated.LoadTree(tree), rtl::Exception) << "length " << length;
    }
}

TEST_F(ContainerTest, CorruptedOutlinesFailCleanlyOrLoadAConsistentTree) {
    const TTreeViewData stored = NumberedTree(50, "N", [](int i) { return i < 5 ? -1 : i / 10; });
    std::uint32_t offset = 0;
    const std::string original = OutlineDataFile(stored, offset);
    for (unsigned seed = 1; seed <= 300; ++seed) {
        std::mt19937 random(seed);
        std::string damaged = original;
        for (int flips = 0; flips < 3; ++flips) {
            const std::size_t at = offset + random() % (damaged.size() - offset);
            damaged[at] = static_cast<char>(random());
        }
        WriteCatalogue(damaged, IndexEntry(kOutlineTextId, offset));
        TBrowzerContainer opened(nullptr);
        OpenSameFiles(opened);
        TTreeViewData tree;
        testing_support::AllocationProbe probe;
        try {
            opened.LoadTree(tree);
            EXPECT_TRUE(tree.IsConsistent()) << "seed " << seed;
        } catch (const rtl::Exception&) {
        }
        EXPECT_LT(probe.Largest(), 8u << 20) << "seed " << seed;
    }
}

namespace {

// Makes path a sparse file of size bytes that begins with head.
void WriteSparse(const std::string& path, const std::string& head, std::uintmax_t size) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << head;
    std::filesystem::resize_file(path, size);
}

} // namespace

TEST_F(ContainerTest, ABlockClaimingMoreThanABufferIsAReadErrorWithoutAllocatingIt) {
    // 2 GiB of data file, nearly all of it claimed by the outline's first block.
    std::string head = kVersion + std::string(8, '\0');
    head[4] = '\xf0', head[5] = '\xff', head[6] = '\xff', head[7] = '\x7f';
    WriteCatalogue({}, IndexEntry(kOutlineTextId, 4));
    WriteSparse(container.DataFileName, head, std::uintmax_t{2} << 30);
    container.SetActive(true);
    TTreeViewData tree;
    const testing_support::AllocationProbe probe;
    EXPECT_THROW(container.LoadTree(tree), rtl::EReadError);
    EXPECT_LT(probe.Largest(), std::size_t{4} << 20);
}

TEST_F(ContainerTest, AHugeIndexIsScannedWithoutCopyingIt) {
    std::uint32_t offset = 0;
    WriteCatalogue(OutlineDataFile(TreeOf({{"eins", -1}}), offset), {});
    // 256 MiB of entries of id 0, then the outline's.
    constexpr std::uintmax_t kZeros = std::uintmax_t{256} << 20;
    WriteSparse(container.IndexFileName, {}, kZeros);
    {
        std::ofstream index(container.IndexFileName, std::ios::binary | std::ios::app);
        index << IndexEntry(kOutlineTextId, offset);
    }
    container.SetActive(true);
    TTreeViewData tree;
    const testing_support::AllocationProbe probe;
    container.LoadTree(tree);
    EXPECT_EQ(tree.Names.Strings(0), "eins");
    EXPECT_LT(probe.Largest(), std::size_t{4} << 20);
}

// Opening a named pipe for reading would wait for a writer forever; the alarm ends a child that
// hangs instead of the test run.
TEST_F(ContainerTest, ANamedPipeInPlaceOfAFileCannotBeOpened) {
    for (const char* name : {kDefaultDataFileName, kDefaultIndexFileName}) {
        WriteCatalogue(kVersion, IndexEntry(kOutlineTextId, 4));
        const std::string pipe = dir.File(name);
        std::filesystem::remove(pipe);
        ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
        const int status = testing_support::RunInChild([this, &pipe] {
            alarm(20);
            try {
                container.SetActive(true);
            } catch (const rtl::EFOpenError& error) {
                return error.Message() == "Cannot open file " + pipe ? 0 : 2;
            }
            return 1;
        });
        EXPECT_EQ(status, 0) << name;
        std::filesystem::remove(pipe);
    }
}
