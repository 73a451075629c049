#include "browser/TextView.h"

#include "rtl/Exceptions.h"
#include "support/RunTool.h"
#include "support/TempDir.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMimeData>
#include <QPrinter>
#include <QScrollBar>
#include <QTextCursor>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>

using browser::TKVTextView;
using testing_support::RunTool;

namespace {

rtl::TStringList Lines(std::initializer_list<std::string> lines) {
    rtl::TStringList list;
    for (const auto& line : lines)
        list.Add(line);
    return list;
}

// The font table the main window gives its component summary view.
void UseSummaryFonts(TKVTextView& view) {
    view.FontSizes.Put(0, 20);
    view.FontSizes.Put(1, 16);
    view.FontBold.Put(1, 1);
}

QTextCharFormat FormatAt(TKVTextView& view, int position) {
    QTextCursor cursor(view.document());
    cursor.setPosition(position);
    cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
    return cursor.charFormat();
}

} // namespace

TEST(TextViewTest, TagsConvertLeftToRightInEitherCase) {
    const std::pair<std::string, std::string> cases[] = {
        {"a<F1>b<f2>c<F0>", "\\sbys a\\F1\\b0\\fs34 b\\F2\\b0\\fs16 c\\F0\\b0\\fs20  \\par"},
        {"<f1>Titel", "\\sbys \\F1\\b0\\fs34 Titel \\par"},
        {"<F0>", "\\sbys \\F0\\b0\\fs20  \\par"},
        {"{x} <B>", "\\sbys {x} <B> \\par"},
        {"C:\\DATA", "\\sbys C:\\\\DATA \\par"},
        // The tag's fourth character is taken away unseen.
        {"<F1]x", "\\sbys \\F1\\b0\\fs34 x \\par"},
        // An F without a digit is ordinary text.
        {"<Fax 0123> <ftp://x><F1>y", "\\sbys <Fax 0123> <ftp://x>\\F1\\b0\\fs34 y \\par"},
        {"x<F", "\\sbys x<F \\par"},
    };
    TKVTextView view;
    for (const auto& [markup, rtf] : cases)
        EXPECT_EQ(view.MarkupLineToRtf(markup), rtf) << markup;
    UseSummaryFonts(view);
    EXPECT_EQ(view.MarkupLineToRtf("<F1>KurzInfo:"), "\\sbys \\F1\\b\\fs16 KurzInfo: \\par");
    EXPECT_THROW(view.MarkupLineToRtf("<F3>x"), rtl::EListError) << "a digit outside the lists";
    view.FontSizes.Add(40);
    view.FontBold.Add(1);
    EXPECT_EQ(view.MarkupLineToRtf("<F3>x"), "\\sbys \\F3\\b\\fs40 x \\par");
}

TEST(TextViewTest, MarkupLinesAreFramedByHeaderAndTrailer) {
    TKVTextView view;
    view.SetMarkupLines(Lines({"<F1>Titel", "Text"}));
    EXPECT_EQ(view.LastRtf(), view.RtfHeader + "\r\n\\sbys \\F1\\b0\\fs34 Titel \\par\r\n" +
                                  "\\sbys Text \\par\r\n}\r\n");
    EXPECT_EQ(view.toPlainText(), "Titel \nText ");

    const QTextCharFormat heading = FormatAt(view, 0);
    EXPECT_DOUBLE_EQ(heading.fontPointSize(), 17.0);
    EXPECT_EQ(heading.fontWeight(), QFont::Normal);
    // "\F1" is no RTF font word: the heading keeps the text's font, as in a word processor.
    EXPECT_EQ(heading.fontFamilies().toStringList(), QStringList{"Arial"});
}

TEST(TextViewTest, SummaryHeadingsComeOutBold) {
    TKVTextView view;
    UseSummaryFonts(view);
    view.SetMarkupLines(Lines({"<F1>KurzInfo:", "<F0>Eine Komponente"}));
    EXPECT_EQ(view.toPlainText(), "KurzInfo: \nEine Komponente ");
    EXPECT_EQ(FormatAt(view, 0).fontWeight(), QFont::Bold);
    EXPECT_DOUBLE_EQ(FormatAt(view, 0).fontPointSize(), 8.0);
    const QTextCharFormat body = FormatAt(view, view.toPlainText().indexOf("Eine"));
    EXPECT_EQ(body.fontWeight(), QFont::Normal);
    EXPECT_DOUBLE_EQ(body.fontPointSize(), 10.0);
    EXPECT_EQ(body.fontFamilies().toStringList(), QStringList{"Arial"});
}

TEST(TextViewTest, UntaggedWindowsTextShowsItsCharactersIn10PointArial) {
    TKVTextView view;
    view.SetMarkupLines(Lines({"Schl\xfcssel \x80 5"}));
    EXPECT_EQ(view.toPlainText(), QString::fromUtf8("Schlüssel € 5 "));
    EXPECT_DOUBLE_EQ(FormatAt(view, 0).fontPointSize(), 10.0);
    EXPECT_EQ(FormatAt(view, 0).fontFamilies().toStringList(), QStringList{"Arial"});
}

TEST(TextViewTest, AnEmptyListOrClearGivesAnEmptyReadOnlyView) {
    TKVTextView view;
    EXPECT_TRUE(view.isReadOnly());
    view.SetMarkupLines(Lines({"Text"}));
    view.SetMarkupLines(rtl::TStringList());
    EXPECT_TRUE(view.document()->isEmpty());
    EXPECT_EQ(view.LastRtf(), "");
    view.SetMarkupLines(Lines({"Text"}));
    view.Clear();
    EXPECT_TRUE(view.document()->isEmpty());
    EXPECT_EQ(view.LastRtf(), "");
}

TEST(TextViewTest, RtfLinesAreLoadedUnchanged) {
    TKVTextView view;
    const auto rtf = Lines({"{\\rtf1\\ansi {\\b Fett} und <F1>mehr\\par", "<F2>Ende", "}"});
    view.SetMarkupLines(rtf);
    EXPECT_EQ(view.LastRtf(), rtf.Text());
    EXPECT_EQ(view.toPlainText(), "Fett und <F1>mehr\n<F2>Ende");
    EXPECT_EQ(FormatAt(view, 0).fontWeight(), QFont::Bold);

    view.SetMarkupLines(Lines({"{\\RTF1 anders}"}));
    EXPECT_EQ(view.toPlainText(), "anders");
}

TEST(TextViewTest, AFailedConversionLeavesTheViewAsItWas) {
    TKVTextView view;
    view.SetMarkupLines(Lines({"<F1>Alt"}));
    const std::string rtf = view.LastRtf();
    EXPECT_THROW(view.SetMarkupLines(Lines({"Neu", "<F7>kaputt"})), rtl::EListError);
    EXPECT_EQ(view.toPlainText(), "Alt ");
    EXPECT_EQ(view.LastRtf(), rtf);
}

TEST(TextViewTest, CopyWithoutSelectionCopiesAllAsTextAndRtf) {
    TKVTextView view;
    view.SetMarkupLines(Lines({"<F1>Titel", "Zweite Zeile"}));
    QTextCursor cursor = view.textCursor();
    cursor.setPosition(3);
    view.setTextCursor(cursor);

    view.CopyText();
    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->text(), "Titel \nZweite Zeile ");
    const QByteArray rtf(view.LastRtf().data(), static_cast<qsizetype>(view.LastRtf().size()));
    EXPECT_EQ(copied->data("text/rtf"), rtf);
    EXPECT_EQ(copied->data("application/rtf"), rtf);
    EXPECT_FALSE(view.textCursor().hasSelection());
    EXPECT_EQ(view.textCursor().position(), 0);
}

TEST(TextViewTest, CopyWithSelectionCopiesOnlyTheSelection) {
    TKVTextView view;
    view.SetMarkupLines(Lines({"<F1>Titel", "Zweite Zeile"}));
    QTextCursor cursor = view.textCursor();
    cursor.setPosition(7);
    cursor.setPosition(13, QTextCursor::KeepAnchor);
    view.setTextCursor(cursor);

    view.CopyText();
    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->text(), "Zweite");
    EXPECT_FALSE(copied->hasFormat("text/rtf"));
    EXPECT_EQ(view.textCursor().selectedText(), "Zweite");
}

TEST(TextViewTest, PrintsTheWholeTextUnderTheJobTitle) {
    testing_support::TempDir dir;
    TKVTextView view;
    view.SetMarkupLines(Lines({"<F1>\xdc"
                               "berschrift",
                               "Erste Zeile", "Letzte Zeile"}));
    const QString pdf = QString::fromStdString(dir.File("text.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);

    view.PrintText(printer);

    const std::string text = RunTool("pdftotext", {"-enc", "UTF-8", pdf, "-"});
    EXPECT_NE(text.find("Überschrift"), std::string::npos) << text;
    EXPECT_NE(text.find("Erste Zeile"), std::string::npos) << text;
    EXPECT_NE(text.find("Letzte Zeile"), std::string::npos) << text;
    EXPECT_NE(RunTool("pdfinfo", {pdf}).find("Kestrova Pandex CD-ROM"), std::string::npos);
}

TEST(TextViewTest, EveryTextOpensAtItsTop) {
    TKVTextView view;
    view.resize(200, 80);
    rtl::TStringList lines;
    for (int i = 0; i < 40; ++i)
        lines.Add("Zeile " + std::to_string(i));
    view.SetMarkupLines(lines);
    view.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(view.verticalScrollBar()->value(), 0);
    EXPECT_EQ(view.textCursor().position(), 0);

    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    view.SetMarkupLines(lines);
    QCoreApplication::processEvents();
    EXPECT_EQ(view.verticalScrollBar()->value(), 0);
}
