#include "catalog/Records.h"

#include "CatalogTestSupport.h"
#include "catalog/AllocationProbe.h"
#include "catalog/RecordIO.h"
#include "rtl/Exceptions.h"
#include "rtl/Filer.h"
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

TEST(TextRecord, ZeroLinesDecodeToCountAndWrapByte) {
    MemoryCatalogue catalogue;
    TScriptText text(nullptr);
    text.Wrap = true;
    text.AssignStream(catalogue.indexed);
    text.Store();
    EXPECT_EQ(catalog_test::Bytes(DecodeBlocks(catalogue.data, 0)), std::string("\0\0\0\0\1", 5));
}

TEST(TextRecord, StoreWritesOneIndexEntryAtItsPosition) {
    MemoryCatalogue catalogue;
    const std::uint8_t filler[3] = {1, 2, 3};
    catalogue.data.WriteBuffer(filler, 3);
    TScriptInfoText info(nullptr);
    info.Lines.Add("x");
    info.AssignStream(catalogue.indexed);
    info.Store();
    EXPECT_EQ(info.Position, 3u);
    EXPECT_EQ(info.Offset, 3u);
    EXPECT_EQ(catalogue.index.Bytes(), (std::vector<std::uint8_t>{4, 0, 0, 0, 3, 0, 0, 0}));
}

TEST(CompoRecord, AllFieldsEmptyDecodeTo55Bytes) {
    MemoryCatalogue catalogue;
    TCompoText compo(nullptr);
    compo.AssignStream(catalogue.indexed);
    compo.Store();
    std::string expected;
    for (int i = 0; i < 10; ++i)
        expected += std::string("\x06\0", 2);
    expected += std::string(3 + 8 * 4, '\0');
    EXPECT_EQ(catalog_test::Bytes(DecodeBlocks(catalogue.data, 0)), expected);
    EXPECT_EQ(catalogue.index.Bytes(), (std::vector<std::uint8_t>{5, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(CompoRecord, ContactIsStoredBeforeOrder) {
    MemoryCatalogue catalogue;
    TCompoText compo(nullptr);
    compo.Contact.Add("C");
    compo.Order.Add("O");
    compo.AssignStream(catalogue.indexed);
    compo.Store();
    const std::string bytes = catalog_test::Bytes(DecodeBlocks(catalogue.data, 0));
    EXPECT_LT(bytes.find('C'), bytes.find('O'));
}

// ---- loading

TEST(TextRecord, LoadReadsLinesAndWrap) {
    MemoryCatalogue catalogue;
    TShortText stored(nullptr);
    stored.Lines = StringListOf({"eins", std::string(256, 'z'), ""});
    stored.Wrap = true;
    TShortText loaded(nullptr);
    loaded.Lines.Add("old");
    StoreAndLoad(catalogue, stored, loaded);
    EXPECT_EQ(loaded.Lines, stored.Lines);
    EXPECT_TRUE(loaded.Wrap);
}

TEST(TextRecord, RecordsOver64000BytesSpanBlocks) {
    MemoryCatalogue catalogue;
    TScriptInfoText stored(nullptr);
    for (int i = 0; i < 3000; ++i)
        stored.Lines.Add("Zeile " + std::to_string(i) +
                         std::string(static_cast<std::size_t>(i % 50), 'x'));
    TScriptInfoText loaded(nullptr);
    StoreAndLoad(catalogue, stored, loaded);
    int blocks = 0;
    const auto decoded = DecodeBlocks(catalogue.data, 0, &blocks);
    EXPECT_GT(decoded.size(), 64000u);
    EXPECT_EQ(blocks, static_cast<int>((decoded.size() + 63999) / 64000));
    EXPECT_EQ(loaded.Lines, stored.Lines);
}

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

TEST(CompoRecord, SearchTextOfAnEmptyComponentIsLongNameAndFileName) {
    TCompoText compo(nullptr);
    rtl::TStringList strings = StringListOf({"stale"});
    compo.GetSearchText(strings);
    EXPECT_EQ(ItemsOf(strings), (std::vector<std::string>{"", ""}));
}

TEST(CompoRecord, SearchTextTakesTheListsInSearchOrder) {
    TCompoText compo(nullptr);
    compo.KeyWords.Add("K");
    compo.ShortInfo.Add("S");
    compo.LongInfo.Add("L");
    compo.Installation.Add("I");
    compo.Review.Add("R");
    compo.Order.Add("not searched");
    compo.LongName = "Lang";
    compo.FileName = "F.ZIP";
    rtl::TStringList strings;
    compo.GetSearchText(strings);
    EXPECT_EQ(ItemsOf(strings),
              (std::vector<std::string>{"K", "L", "S", "R", "I", "Lang", "F.ZIP"}));
    EXPECT_EQ(strings.UpdateCount(), 0);
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

TEST(RecordIO, WriteStringsOnAStreamWritesCountAndStrings) {
    rtl::TMemoryStream stream;
    WriteStrings(stream, StringListOf({"ab", ""}));
    EXPECT_EQ(catalog_test::Bytes(stream.Bytes()), std::string("\2\0\0\0\6\2ab\6\0", 10));
}

// ---- parsing

TEST(ScriptSource, LinesEndAtLineFeedsWithOneCarriageReturnRemoved) {
    EXPECT_EQ(SplitSourceLines("a\r\nb\n\nc\r\r\nlast"),
              (std::vector<std::string>{"a", "b", "", "c\r", "last"}));
    EXPECT_EQ(SplitSourceLines("a\n"), std::vector<std::string>{"a"});
    EXPECT_TRUE(SplitSourceLines("").empty());
}

TEST(ScriptSource, FindNextSectionMatchesTheFirstWordWithoutCase) {
    ScriptSource source = SourceOf("text [a]\nTEXTX [b]\nnothing\nInfoText\b[c]\n component\n");
    source.Line = -1;
    EXPECT_EQ(source.FindNextSection(), 2);
    EXPECT_EQ(source.Line, 0);
    EXPECT_EQ(source.FindNextSection(), 3);
    EXPECT_EQ(source.Line, 3);
    EXPECT_EQ(source.FindNextSection(), -1);
    EXPECT_EQ(source.Line, 3);
}

TEST(HeaderDate, DateAfterTheBracketsElseTheDefaultDate) {
    const int year = rtl::CurrentYear();
    auto headerDate = [](const std::string& header) {
        ScriptSource source = SourceOf(header + "\nline\n}\n");
        source.Line = 0;
        TScriptText text(nullptr);
        text.Parse(source);
        return text.HeaderDate;
    };
    EXPECT_EQ(headerDate("TEXT [Name] 12.03.96"), rtl::StrToDate("12.03.96", year));
    EXPECT_EQ(headerDate("TEXT [Name] 1 2. 0\t3.9\b6 trailing"), rtl::StrToDate("12.03.96", year));
    EXPECT_EQ(headerDate("TEXT [Name]"), DefaultDate());
    EXPECT_EQ(headerDate("TEXT [Name] soon"), DefaultDate());
    EXPECT_EQ(headerDate("TEXT ]Name[ 12.03.96"), 0.0);
    EXPECT_EQ(DefaultDate(), rtl::EncodeDate(1996, 5, 2));
}

TEST(TextRecord, BodyEndsBeforeTheLastClosingBraceAheadOfTheNextHeader) {
    ScriptSource source = SourceOf("TEXT [a]\none\n}\ntwo\n}\nbetween\nTEXT [b]\nlast\n}\nafter\n");
    source.Line = -1;
    ASSERT_EQ(source.FindNextSection(), 2);
    TScriptText a(nullptr);
    a.Parse(source);
    EXPECT_EQ(ItemsOf(a.Lines), (std::vector<std::string>{"one", "}", "two"}));
    EXPECT_EQ(source.Line, 5);
    ASSERT_EQ(source.FindNextSection(), 2);
    TScriptText b(nullptr);
    b.Parse(source);
    EXPECT_EQ(ItemsOf(b.Lines), (std::vector<std::string>{"last"}));
    EXPECT_FALSE(b.Wrap);
}

TEST(TextRecord, WithoutAClosingBraceTheTwoLinesAfterTheHeaderAreTheBody) {
    ScriptSource source = SourceOf("TEXT [a]\none\ntwo\nthree\nTEXT [b]\nx\n}\n");
    source.Line = 0;
    TScriptText a(nullptr);
    a.Parse(source);
    EXPECT_EQ(ItemsOf(a.Lines), (std::vector<std::string>{"one", "two"}));

    ScriptSource last = SourceOf("TEXT [a]\n");
    last.Line = 0;
    TScriptText empty(nullptr);
    EXPECT_THROW(empty.Parse(last), rtl::EListError);
}

TEST(InfoText, ConsecutiveLinesJoinIntoParagraphs) {
    bool wrap = false;
    const rtl::TStringList joined =
        JoinParagraphs(StringListOf({"alpha", "beta", "", " gamma", "delta"}), wrap);
    EXPECT_TRUE(wrap);
    EXPECT_EQ(ItemsOf(joined), (std::vector<std::string>{"alpha beta", "", " gamma delta"}));
}

TEST(InfoText, AFontTagAloneKeepsALineApart) {
    bool wrap = false;
    EXPECT_EQ(ItemsOf(JoinParagraphs(StringListOf({"<F1>", "Titel", "Text"}), wrap)),
              (std::vector<std::string>{"<F1>", "Titel Text"}));
    EXPECT_EQ(ItemsOf(JoinParagraphs(StringListOf({"Titel", "<f0>", "Text"}), wrap)),
              (std::vector<std::string>{"Titel", "<f0>", "Text"}));
    EXPECT_EQ(ItemsOf(JoinParagraphs(StringListOf({"<F1>Titel", "Text", "<F0>"}), wrap)),
              (std::vector<std::string>{"<F1>Titel Text <F0>"}));
    EXPECT_EQ(ItemsOf(JoinParagraphs(StringListOf({"a", "b\tc", "\td", "\be"}), wrap)),
              (std::vector<std::string>{"a b\tc", "\td", "\be"}));
}

TEST(InfoText, NowrapInTheFirstLineIsDroppedAndKeepsTheLines) {
    ScriptSource source = SourceOf("INFOTEXT [i]\nxx <nowrap>\nalpha\nbeta\n}\n");
    source.Line = 0;
    TScriptInfoText info(nullptr);
    info.Parse(source);
    EXPECT_FALSE(info.Wrap);
    EXPECT_EQ(ItemsOf(info.Lines), (std::vector<std::string>{"alpha", "beta"}));
}

TEST(InfoText, ShortTextKeepsItsLinesUnjoined) {
    ScriptSource source = SourceOf("SHORTTEXT [s]\nalpha\nbeta\n}\n");
    source.Line = 0;
    TShortText text(nullptr);
    text.Parse(source);
    EXPECT_FALSE(text.Wrap);
    EXPECT_EQ(ItemsOf(text.Lines), (std::vector<std::string>{"alpha", "beta"}));
    EXPECT_EQ(text.GetTypeId(), 6);
}

TEST(AnalyseKeys, TokensSplitAtBlanksFirstThenCommasThenSemicolons) {
    EXPECT_EQ(ItemsOf(SplitKeyTokens("A,B C")), (std::vector<std::string>{"AB", "C"}));
    EXPECT_EQ(ItemsOf(SplitKeyTokens("a,b;c")), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(ItemsOf(SplitKeyTokens("x;y")), (std::vector<std::string>{"X", "Y"}));
    EXPECT_EQ(ItemsOf(SplitKeyTokens(" ,; Drag&Drop  äb ")),
              (std::vector<std::string>{"DRAG&&DROP", "äB"}));
    EXPECT_TRUE(SplitKeyTokens("").Empty());
}

namespace {

std::unique_ptr<TCompoText> ParsedComponent(const std::string& body) {
    ScriptSource source = SourceOf("COMPONENT [c] 01.01.90\n" + body + "}\n");
    source.Line = 0;
    auto compo = std::make_unique<TCompoText>(nullptr);
    compo->Parse(source);
    return compo;
}

} // namespace

TEST(AnalyseKeys, CompilerBitsFromTheCompilerLine) {
    EXPECT_EQ(ParsedComponent("Compiler:\nPANDEX, BP\n")->Compilers, 5);
    EXPECT_EQ(ParsedComponent("[Compilers]\nPANDEX2\n")->Compilers, 2);
    EXPECT_EQ(ParsedComponent("[Compilers]\npandex pandex2 bp\n")->Compilers, 7);
    EXPECT_EQ(ParsedComponent("[Compilers]\nPANDEX3\n")->Compilers, 0);
    EXPECT_EQ(ParsedComponent("[ShortName]\nx\n")->Compilers, 0);
}

TEST(AnalyseKeys, RatingAndLanguageAreIntegersModulo256) {
    const auto a = ParsedComponent("[Rating]\nx\n[Language]\n49\n");
    EXPECT_EQ(a->Rating, 0);
    EXPECT_EQ(a->Language, 49);
    const auto b = ParsedComponent("[Rating]\n-1\n[Language]\n+300\n");
    EXPECT_EQ(b->Rating, 255);
    EXPECT_EQ(b->Language, 44);
    EXPECT_EQ(ParsedComponent("[Rating]\n 3\n")->Rating, 0);
}

TEST(AnalyseKeys, ABlockTakesTheLineAfterItsKeyEvenWhenItIsAKeyLine) {
    const auto compo = ParsedComponent(
        "[ShortInfo]\n[LongInfo]\nlang 1\nlang 2\n[Review]\ngut\n; comment\nsehr gut\n");
    EXPECT_EQ(ItemsOf(compo->ShortInfo), std::vector<std::string>{"[LongInfo]"});
    EXPECT_EQ(ItemsOf(compo->LongInfo), (std::vector<std::string>{"lang 1", "lang 2"}));
    EXPECT_EQ(ItemsOf(compo->Review), (std::vector<std::string>{"gut", "sehr gut"}));
    EXPECT_TRUE(compo->Installation.Empty());
}

TEST(AnalyseKeys, SingleValuesUseTheLastKeyLineAndLastReviewGivesTheDate) {
    const auto compo =
        ParsedComponent("[shortname]\nerst\n[ShortName]\nZweit\n[KeyWords]\nGrafik, Druck&Satz\n"
                        "[LastReview]\n03.04.97 geprüft\n[Price]\nDM 49,-\n");
    EXPECT_EQ(compo->ShortName, "Zweit");
    EXPECT_EQ(compo->Price, "DM 49,-");
    EXPECT_EQ(ItemsOf(compo->KeyWords), (std::vector<std::string>{"GRAFIK", "DRUCK&&SATZ"}));
    EXPECT_EQ(compo->LastReview, "03.04.97 geprüft");
    EXPECT_EQ(compo->HeaderDate, rtl::StrToDate("03.04.97"));
    EXPECT_TRUE(compo->Lines.Empty());
    EXPECT_EQ(ParsedComponent("[LastReview]\nbald\n")->HeaderDate, DefaultDate());
    EXPECT_EQ(ParsedComponent("[OS]\nDOS\n")->HeaderDate, DefaultDate());
}

TEST(AnalyseKeys, AKeyLineWithoutAValueLineIsAListError) {
    EXPECT_THROW(ParsedComponent("[ShortName]\nx\n[Price]\n"), rtl::EListError);
}
