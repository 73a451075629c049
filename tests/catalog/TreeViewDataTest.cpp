#include "catalog/TreeViewData.h"

#include "catalog/AllocationProbe.h"
#include "catalog/IntList.h"
#include "rtl/Exceptions.h"
#include "rtl/Filer.h"

#include <gtest/gtest.h>

using namespace catalog;

namespace {

TTVRevEntry NodeEntry(const std::string& name, std::int32_t parent, const std::string& key = "") {
    TTVRevEntry entry;
    entry.Name = name;
    entry.Key = key;
    entry.Parent = parent;
    entry.Date = rtl::EncodeDate(1996, 5, 2);
    return entry;
}

// A, A1, A2, B, B1, C added depth-first.
TTreeViewData ExampleTree() {
    TTreeViewData tree;
    auto add = [&](const std::string& name, std::int32_t parent) {
        TTVRevEntry entry = NodeEntry(name, parent);
        return tree.AddNode(entry);
    };
    const int a = add("A", -1);
    add("A1", a);
    add("A2", a);
    const int b = add("B", -1);
    add("B1", b);
    add("C", -1);
    return tree;
}

rtl::TMemoryStream Written(const TTreeViewData& tree) {
    rtl::TMemoryStream stream;
    {
        rtl::TWriter writer(stream, 4096);
        tree.WriteData(writer);
    }
    stream.SetPosition(0);
    return stream;
}

void ReadInto(rtl::TMemoryStream& stream, TTreeViewData& tree) {
    stream.SetPosition(0);
    rtl::TReader reader(stream, 4096);
    tree.ReadData(reader);
}

} // namespace

TEST(PackedDate, AnImpossibleDateIsAConversionError) {
    EXPECT_THROW(UnpackDate(0x07CC0230), rtl::EConvertError); // 30 February
    EXPECT_THROW(UnpackDate(0), rtl::EConvertError);
    EXPECT_THROW(UnpackDate(-1), rtl::EConvertError);
}

TEST(IntList, IndexErrorsAreListErrorsAndIncrementIsARangeError) {
    TIntList list;
    list.Add(7);
    list.Insert(0, 5);
    list.Insert(2, 9);
    EXPECT_EQ(list.Values(), (std::vector<std::int32_t>{5, 7, 9}));
    list.Increment(1);
    list.Delete(0);
    EXPECT_EQ(list.Values(), (std::vector<std::int32_t>{8, 9}));
    EXPECT_THROW(list.Items(2), rtl::EListError);
    EXPECT_THROW(list.Insert(3, 0), rtl::EListError);
    EXPECT_THROW(list.Delete(-1), rtl::EListError);
    EXPECT_THROW(list.Increment(2), rtl::ERangeError);
}

TEST(IntList, ACountLargerThanTheDataIsAReadErrorWithoutALargeAllocation) {
    rtl::TMemoryStream stream;
    {
        rtl::TWriter writer(stream, 64);
        writer.WriteInteger(0x7FFFFFFF);
        for (int i = 0; i < 10; ++i)
            writer.WriteInteger(i);
    }
    stream.SetPosition(0);
    TIntList list;
    list.Add(1);
    testing_support::AllocationProbe probe;
    rtl::TReader reader(stream, 64);
    EXPECT_THROW(list.ReadData(reader), rtl::EReadError);
    EXPECT_LT(probe.Largest(), 1u << 20);
    EXPECT_EQ(list.Values(), std::vector<std::int32_t>{1});
}

TEST(IntList, ANegativeCountIsAReadError) {
    rtl::TMemoryStream stream;
    {
        rtl::TWriter writer(stream, 64);
        writer.WriteInteger(-3);
    }
    stream.SetPosition(0);
    TIntList list;
    rtl::TReader reader(stream, 64);
    EXPECT_THROW(list.ReadData(reader), rtl::EReadError);
}

TEST(TreeViewData, AddNodeReturnsThePositionAndResetsTheChildFields) {
    TTreeViewData tree;
    TTVRevEntry a = NodeEntry("A", -1);
    a.FirstChild = 17;
    a.ChildCount = 4;
    EXPECT_EQ(tree.AddNode(a), 0);
    EXPECT_EQ(a.FirstChild, -1);
    EXPECT_EQ(a.ChildCount, 0);
    TTVRevEntry a1 = NodeEntry("A1", 0, "KEY");
    EXPECT_EQ(tree.AddNode(a1), 1);
    TTVRevEntry b = NodeEntry("B", -1);
    EXPECT_EQ(tree.AddNode(b), 1);
    EXPECT_EQ(tree.Entry(2).Name, "A1");
    EXPECT_EQ(tree.Entry(2).Key, "KEY");
    EXPECT_EQ(tree.Entry(0).FirstChild, 2);
}

TEST(TreeViewData, GetEntryOutsideTheTreeGivesAResetEntry) {
    const TTreeViewData tree = ExampleTree();
    TTVRevEntry entry = tree.Entry(0);
    EXPECT_EQ(entry.Name, "A");
    tree.GetEntry(tree.Count(), entry);
    EXPECT_EQ(entry, TTVRevEntry());
    tree.GetEntry(-1, entry);
    EXPECT_EQ(entry, TTVRevEntry());
}

TEST(TreeViewData, ReadDataReplacesAnEarlierContent) {
    TTreeViewData tree = ExampleTree();
    rtl::TMemoryStream empty = Written(TTreeViewData());
    ReadInto(empty, tree);
    EXPECT_EQ(tree, TTreeViewData());
}

TEST(TreeViewData, LinksLeavingTheTreeAreAReadError) {
    const TTreeViewData good = ExampleTree();
    auto expectRejected = [](TTreeViewData damaged) {
        rtl::TMemoryStream stream = Written(damaged);
        TTreeViewData read;
        EXPECT_THROW(ReadInto(stream, read), rtl::EReadError);
    };
    TTreeViewData cycle = good;
    cycle.Parents.Put(3, 4); // A1's parent after it: following parents would not end
    expectRejected(cycle);
    TTreeViewData range = good;
    range.ChildCounts.Put(1, 2); // B's children past the end
    expectRejected(range);
    TTreeViewData roots = good;
    roots.RootCount = 7;
    expectRejected(roots);
    TTreeViewData shortList = good;
    shortList.Dates.Clear();
    expectRejected(shortList);
}

TEST(TreeViewData, AJunkNameCountEndsWithTheDataWithoutALargeAllocation) {
    rtl::TMemoryStream stream;
    {
        rtl::TWriter writer(stream, 4096);
        writer.WriteInteger(0);
        writer.WriteInteger(0x7FFFFFFF); // names
        writer.WriteString("only");
        writer.WriteString("two");
    }
    TTreeViewData tree;
    testing_support::AllocationProbe probe;
    EXPECT_THROW(ReadInto(stream, tree), rtl::EReadError);
    EXPECT_LT(probe.Largest(), 1u << 20);
}
