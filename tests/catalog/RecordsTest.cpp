#include "catalog/Records.h"

#include "CatalogTestSupport.h"
#include "catalog/AllocationProbe.h"
#include "catalog/RecordIO.h"
#include "rtl/Exceptions.h"
#include "rtl/Filer.h"
#include "rtl/LittleEndian.h"
#include "support/StringLists.h"

#include <gtest/gtest.h>

using namespace catalog;
using catalog_test::DecodeBlocks;
using catalog_test::MemoryCatalogue;
using catalog_test::SourceOf;

using testing_support::ItemsOf;
using testing_support::StringListOf;

namespace {

// Stores the record at the data stream's position and loads it into `into`.
template <typename Record>
void StoreAndLoad(MemoryCatalogue& catalogue, Record& stored, Record& into) {
    catalogue.data.Seek(0, rtl::SeekOrigin::End);
    stored.AssignStream(catalogue.indexed);
    stored.Store();
    catalogue.data.SetPosition(stored.Position);
    into.AssignStream(catalogue.indexed);
    into.Load();
}

void FillComponent(TCompoText& compo, const std::string& tag) {
    compo.ShortName = tag + "short";
    compo.LongName = tag + "long";
    compo.FileName = tag + ".ZIP";
    compo.Version = "1.0";
    compo.LastReview = "01.02.97";
    compo.Copyright = "(c) " + tag;
    compo.OS = "DOS";
    compo.Distribution = "Shareware";
    compo.Limitations = "none";
    compo.Price = "DM 10";
    compo.Rating = 3;
    compo.Language = 49;
    compo.Compilers = 5;
    int item = 0;
    for (rtl::TStringList* list :
         {&compo.KeyWords, &compo.ShortInfo, &compo.LongInfo, &compo.Installation, &compo.Review,
          &compo.Documentation, &compo.Contact, &compo.Order}) {
        list->Add(tag + std::to_string(++item));
        list->Add(tag + " zweite Zeile");
    }
}

std::vector<std::string> CompoFields(const TCompoText& c) {
    std::vector<std::string> fields{c.ShortName,
                                    c.LongName,
                                    c.FileName,
                                    c.Version,
                                    c.LastReview,
                                    c.Copyright,
                                    c.OS,
                                    c.Distribution,
                                    c.Limitations,
                                    c.Price,
                                    std::to_string(c.Rating),
                                    std::to_string(c.Language),
                                    std::to_string(c.Compilers)};
    for (const rtl::TStringList* list : {&c.KeyWords, &c.ShortInfo, &c.LongInfo, &c.Installation,
                                         &c.Review, &c.Documentation, &c.Contact, &c.Order})
        for (const auto& item : *list)
            fields.push_back(item.text);
    return fields;
}

} // namespace

// ---- stored layouts

// ---- loading

TEST(CompoRecord, LoadingTwiceLeavesNothingOfTheFirstRecord) {
    MemoryCatalogue catalogue;
    TCompoText first(nullptr);
    FillComponent(first, "first");
    TCompoText second(nullptr);
    second.LongName = "zweite";
    TCompoText loaded(nullptr);
    StoreAndLoad(catalogue, first, loaded);
    EXPECT_EQ(CompoFields(loaded), CompoFields(first));
    StoreAndLoad(catalogue, second, loaded);
    EXPECT_EQ(CompoFields(loaded), CompoFields(second));
}

TEST(TextRecord, ALineCountBeyondTheDataIsAReadError) {
    MemoryCatalogue catalogue;
    {
        rtl::TWriter writer(catalogue.indexed.Packer(), kRecordBufferSize);
        writer.WriteInteger(0x7FFFFFFF);
        writer.WriteString("a");
    }
    catalogue.data.SetPosition(0);
    TScriptText text(nullptr);
    text.AssignStream(catalogue.indexed);
    testing_support::AllocationProbe probe;
    EXPECT_THROW(text.Load(), rtl::EReadError);
    EXPECT_LT(probe.Largest(), 1u << 20);
}

TEST(CompoRecord, ADamagedListEndsSilentlyAndTheRecordStillLoads) {
    MemoryCatalogue catalogue;
    {
        rtl::TWriter writer(catalogue.indexed.Packer(), kRecordBufferSize);
        for (int i = 0; i < 10; ++i)
            writer.WriteString("s" + std::to_string(i));
        writer.WriteByte(1);
        writer.WriteByte(2);
        writer.WriteByte(3);
        writer.WriteInteger(0x7FFFFFFF); // KeyWords: two strings, then a bad tag
        writer.WriteString("K1");
        writer.WriteString("K2");
        writer.WriteByte(0x99);
    }
    catalogue.data.SetPosition(0);
    TCompoText compo(nullptr);
    FillComponent(compo, "old");
    compo.AssignStream(catalogue.indexed);
    compo.Load();
    EXPECT_EQ(compo.Price, "s9");
    EXPECT_EQ(compo.Compilers, 3);
    EXPECT_EQ(ItemsOf(compo.KeyWords), (std::vector<std::string>{"K1", "K2"}));
    EXPECT_TRUE(compo.Order.Empty());
}

TEST(RecordIO, ReadStringsKeepsWhatWasReadAndClosesTheUpdateBracket) {
    rtl::TMemoryStream stream;
    {
        rtl::TWriter writer(stream, 64);
        writer.WriteInteger(3);
        writer.WriteString("a");
        writer.WriteString("b");
        writer.WriteByte(0x07);
    }
    stream.SetPosition(0);
    rtl::TStringList list = StringListOf({"old"});
    ReadStrings(stream, list);
    EXPECT_EQ(ItemsOf(list), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(list.UpdateCount(), 0);
}

// ---- parsing

namespace {

std::unique_ptr<TCompoText> ParsedComponent(const std::string& body) {
    ScriptSource source = SourceOf("COMPONENT [c] 01.01.90\n" + body + "}\n");
    source.Line = 0;
    auto compo = std::make_unique<TCompoText>(nullptr);
    compo->Parse(source);
    return compo;
}

} // namespace

TEST(AnalyseKeys, RatingAndLanguageAreIntegersModulo256) {
    const auto a = ParsedComponent("[Rating]\nx\n[Language]\n49\n");
    EXPECT_EQ(a->Rating, 0);
    EXPECT_EQ(a->Language, 49);
    const auto b = ParsedComponent("[Rating]\n-1\n[Language]\n+300\n");
    EXPECT_EQ(b->Rating, 255);
    EXPECT_EQ(b->Language, 44);
    EXPECT_EQ(ParsedComponent("[Rating]\n 3\n")->Rating, 0);
    // Beyond 64 bits: 10^20 + 7 is 7 modulo 256 (10^20 is 0 modulo 256).
    EXPECT_EQ(ParsedComponent("[Rating]\n100000000000000000007\n")->Rating, 7);
    EXPECT_EQ(ParsedComponent("[Language]\n-100000000000000000001\n")->Language, 255);
}

// Millions of empty lines pack to a few kilobytes per block; reading them would cost gigabytes.
TEST(TextRecord, ARecordDecodingBeyondItsBudgetIsAReadError) {
    MemoryCatalogue catalogue;
    constexpr int kBlocks = 300; // 19 MB decoded, 9.6 million lines
    constexpr std::int32_t kPairsPerBlock = kRecordBufferSize / 2;
    std::vector<std::uint8_t> block(kRecordBufferSize);
    for (std::size_t i = 0; i < block.size(); i += 2)
        block[i] = rtl::kStringTag; // and a length of 0
    const std::int32_t lines = kPairsPerBlock - 2 + (kBlocks - 1) * kPairsPerBlock;
    std::vector<std::uint8_t> first = block;
    rtl::StoreU32(first.data(), static_cast<std::uint32_t>(lines));
    TKVPacker& packer = catalogue.indexed.Packer();
    packer.Write(first.data(), kRecordBufferSize);
    for (int i = 1; i < kBlocks; ++i)
        packer.Write(block.data(), kRecordBufferSize);
    const std::uint8_t wrap = 1;
    packer.Write(&wrap, 1);

    catalogue.data.SetPosition(0);
    TScriptText text(nullptr);
    text.AssignStream(catalogue.indexed);
    try {
        text.Load();
        FAIL() << "loaded " << text.Lines.Count() << " lines";
    } catch (const rtl::EReadError& error) {
        EXPECT_EQ(error.Message(), "Stream read error");
    }
}
