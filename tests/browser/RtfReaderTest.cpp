#include "browser/RtfReader.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using browser::ReadRtf;
using browser::RtfToken;
using browser::RtfTokenizer;

namespace {

std::vector<RtfToken> Tokens(std::string_view rtf) {
    RtfTokenizer tokenizer(rtf);
    std::vector<RtfToken> tokens;
    RtfToken token;
    while (tokenizer.Next(token))
        tokens.push_back(token);
    return tokens;
}

QString PlainText(std::string_view rtf) {
    QTextDocument document;
    ReadRtf(rtf, document);
    return document.toPlainText();
}

// The text with the non-breaking blanks and line separators that toPlainText changes.
QString RawText(std::string_view rtf) {
    QTextDocument document;
    ReadRtf(rtf, document);
    return document.toRawText();
}

// The character format of the character at position in the document.
QTextCharFormat FormatAt(QTextDocument& document, int position) {
    QTextCursor cursor(&document);
    cursor.setPosition(position);
    cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
    return cursor.charFormat();
}

int PositionOf(const QTextDocument& document, const QString& text) {
    const int position = document.toPlainText().indexOf(text);
    EXPECT_GE(position, 0) << text.toStdString();
    return position;
}

} // namespace

TEST(RtfTokenizerTest, OnlyOneBlankEndsAWordAndLineEndsAreDropped) {
    const auto tokens = Tokens("\\par  x\r\ny");
    ASSERT_EQ(tokens.size(), 3u);
    EXPECT_FALSE(tokens[0].hasParameter);
    EXPECT_EQ(tokens[1].text, " x");
    EXPECT_EQ(tokens[2].text, "y");
}

TEST(RtfTokenizerTest, BinarySkipsItsBytesAndHugeNumbersSaturate) {
    const auto tokens = Tokens("\\bin3 {}\\x\\fs99999999999999999999 z\\bin99999999999 rest");
    ASSERT_EQ(tokens.size(), 5u);
    EXPECT_EQ(tokens[1].text, "x");
    EXPECT_EQ(tokens[2].parameter, 2147483647);
    EXPECT_EQ(tokens[3].text, "z");
    EXPECT_EQ(tokens[4].text, "bin"); // and nothing after it: the count ran past the end
}

TEST(RtfReaderTest, RendersFontTagRtfWithSizesBoldAndFonts) {
    QTextDocument document;
    ReadRtf("{\\rtf\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}"
            "{\\f2\\fmodern Courier;}}{\\stylesheet{\\fs20 \\snext0Normal;}}\\widoctrl\\ftnbj "
            "\\sectd\\linex0\\endnhere \\pard\\plain \\f0 \\fs20\r\n"
            "\\sbys \\F1\\b\\fs34 Titel \\par\r\n"
            "\\sbys Text C:\\\\DATA {x} \\par\r\n"
            "\\sbys \\F2\\b0\\fs16 Code \\par\r\n}\r\n",
            document);
    // The braces the markup passed on unescaped make a group.
    EXPECT_EQ(document.toPlainText(), "Titel \nText C:\\DATA x \nCode ");
    EXPECT_EQ(document.blockCount(), 3);

    const QTextCharFormat title = FormatAt(document, 0);
    EXPECT_DOUBLE_EQ(title.fontPointSize(), 17.0);
    EXPECT_EQ(title.fontWeight(), QFont::Bold);
    // "\F1" is no font word (control words are case-sensitive): the font stays.
    EXPECT_EQ(title.fontFamilies().toStringList(), QStringList{"Arial"});

    const QTextCharFormat text = FormatAt(document, PositionOf(document, "Text"));
    EXPECT_DOUBLE_EQ(text.fontPointSize(), 17.0); // a paragraph mark keeps the character format
    const QTextCharFormat code = FormatAt(document, PositionOf(document, "Code"));
    EXPECT_DOUBLE_EQ(code.fontPointSize(), 8.0);
    EXPECT_EQ(code.fontWeight(), QFont::Normal);
    EXPECT_EQ(code.fontFamilies().toStringList(), QStringList{"Arial"});
}

TEST(RtfReaderTest, DefaultFontAppliesUntilAFontIsChosen) {
    QTextDocument document;
    ReadRtf("{\\rtf1\\deff1{\\fonttbl\\f0 Arial;\\f1 Times New Roman;}\\fs20 a\\f0 b}", document);
    EXPECT_EQ(FormatAt(document, 0).fontFamilies().toStringList(), QStringList{"Times New Roman"});
    EXPECT_EQ(FormatAt(document, 1).fontFamilies().toStringList(), QStringList{"Arial"});
    EXPECT_DOUBLE_EQ(FormatAt(document, 0).fontPointSize(), 10.0);
}

TEST(RtfReaderTest, ReadsTheRtfOfWordProcessors) {
    const std::string rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}"
        "{\\f1\\froman{\\*\\panose 02020603050405020304}Times New Roman;}}\r\n"
        "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
        "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
        "{\\stylesheet{\\s0 Normal;}{\\s1 heading 1;}}\r\n"
        "{\\info{\\title Katalog}{\\author Jemand}}\r\n"
        "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang7 K\\'e4se kostet 5\\u8364? pro St\xfc"
        "ck\\par\r\n"
        "\\pard\\plain A\\tab B\\line C {\\i kursiv} {\\ul unter}\\ulnone  \\cf1 rot\\cf0\\par\r\n"
        "}\r\n";
    QTextDocument document;
    ReadRtf(rtf, document);
    EXPECT_EQ(document.toPlainText(),
              QString::fromUtf8("Käse kostet 5€ pro Stück\nA\tB\nC kursiv unter rot"));

    const QTextCharFormat cheese = FormatAt(document, 0);
    EXPECT_DOUBLE_EQ(cheese.fontPointSize(), 11.0);
    EXPECT_EQ(cheese.fontFamilies().toStringList(), QStringList{"Calibri"});
    EXPECT_DOUBLE_EQ(FormatAt(document, PositionOf(document, "A")).fontPointSize(), 12.0);
    const QTextCharFormat italic = FormatAt(document, PositionOf(document, "kursiv"));
    EXPECT_TRUE(italic.fontItalic());
    EXPECT_FALSE(italic.fontUnderline());
    EXPECT_TRUE(FormatAt(document, PositionOf(document, "unter")).fontUnderline());
    const QTextCharFormat red = FormatAt(document, PositionOf(document, "rot"));
    EXPECT_FALSE(red.fontUnderline());
    EXPECT_EQ(red.foreground().color(), QColor(255, 0, 0));
    EXPECT_FALSE(
        FormatAt(document, PositionOf(document, "C")).hasProperty(QTextFormat::ForegroundBrush));
}

TEST(RtfReaderTest, UnicodeEscapesSkipTheirFallbackAsUcSays) {
    EXPECT_EQ(PlainText("{\\uc2\\u8364 EUxy}"), QString::fromUtf8("€xy"));
    EXPECT_EQ(PlainText("{\\uc0\\u8364 EU}"), QString::fromUtf8("€EU"));
    EXPECT_EQ(PlainText("{\\u8364\\'80x}"), QString::fromUtf8("€x"));
    EXPECT_EQ(PlainText("{\\uc3\\u8364{}x}"), QString::fromUtf8("€x")); // a brace ends the skip
    EXPECT_EQ(PlainText("{\\u-10179?\\u-8704?}"), QString::fromUtf8("\xF0\x9F\x98\x80"));
}

TEST(RtfReaderTest, SpecialCharactersAndSymbols) {
    EXPECT_EQ(RawText("{a\\~b\\-c\\_d\\emdash\\ldblquote x\\rdblquote}"),
              QString::fromUtf8("a\u00A0bc\u2011d\u2014\u201Cx\u201D"));
    EXPECT_EQ(RawText("{a\\line b}"), QString::fromUtf8("a\u2028b"));
    EXPECT_EQ(PlainText("{a\\\r\nb}"), "a\nb");
    EXPECT_EQ(PlainText("{a\\{b\\}c\\\\d\\'4g}"), "a{b}c\\dg");
}

TEST(RtfReaderTest, ParagraphMarksMakeBlocksButNoEmptyLastOne) {
    EXPECT_EQ(PlainText("{a\\par\\par b\\par}"), "a\n\nb");
    EXPECT_EQ(PlainText("{\\par}"), "");
    EXPECT_EQ(PlainText("{\\par\\par}"), "\n");
}

TEST(RtfReaderTest, AlignmentFollowsThePargraphWords) {
    QTextDocument document;
    ReadRtf("{\\qc a\\par\\pard b\\par\\qr c}", document);
    ASSERT_EQ(document.blockCount(), 3);
    EXPECT_EQ(document.findBlockByNumber(0).blockFormat().alignment(), Qt::AlignHCenter);
    EXPECT_EQ(document.findBlockByNumber(1).blockFormat().alignment(), Qt::AlignLeft);
    EXPECT_EQ(document.findBlockByNumber(2).blockFormat().alignment(), Qt::AlignRight);
}

TEST(RtfReaderTest, ReadingReplacesTheFormerContent) {
    QTextDocument document;
    ReadRtf("{alt\\par alt}", document);
    ReadRtf("{neu}", document);
    EXPECT_EQ(document.toPlainText(), "neu");
}

TEST(RtfReaderTest, MalformedRtfShowsWhatCanBeRead) {
    EXPECT_EQ(PlainText("}}a}{{b"), "ab");
    EXPECT_EQ(PlainText("{\\rtf1 x\\'4"), "x");
    EXPECT_EQ(PlainText("{\\rtf1 x\\"), "x");
    EXPECT_EQ(PlainText("{\\fonttbl{\\f0 Arial"), "");
    EXPECT_EQ(PlainText("{\\colortbl;\\red999;}\\cf1 x\\cf-5 y\\cf77 z"), "xyz");
    EXPECT_EQ(PlainText("{\\fs-4 a\\fs99999999999 b\\uc99999999\\u99999 c\\u}"),
              QString::fromUtf8("ab\uFFFD"));
    EXPECT_EQ(PlainText(std::string("{a\0b\x01\x81"
                                    "c}",
                                    7)),
              "abc");
}

TEST(RtfReaderTest, DeepNestingStillRestoresTheOuterState) {
    const std::string rtf = std::string(100000, '{') + "\\b x" + std::string(100000, '}') + "y";
    QTextDocument document;
    ReadRtf(rtf, document);
    EXPECT_EQ(document.toPlainText(), "xy");
    EXPECT_EQ(FormatAt(document, 0).fontWeight(), QFont::Bold);
    EXPECT_EQ(FormatAt(document, 1).fontWeight(), QFont::Normal);
}
