#include "browser/TextView.h"

#include "browser/RecordLoading.h"
#include "browser/RtfReader.h"
#include "catalog/Container.h"
#include "catalog/Records.h"
#include "rtl/StrUtils.h"
#include "util/widgets/ScopedStates.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPrinter>

namespace browser {

namespace {

constexpr const char* kRtfHeader =
    "{\\rtf\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}"
    "{\\f2\\fmodern Courier;}}{\\stylesheet{\\fs20 \\snext0Normal;}}\\widoctrl\\ftnbj "
    "\\sectd\\linex0\\endnhere \\pard\\plain \\f0 \\fs20";
constexpr const char* kPrintJobTitle = "Kestrova Pandex CD-ROM";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

TKVTextView::TKVTextView(QWidget* parent)
    : QTextEdit(parent), RtfHeader(kRtfHeader), RtfTrailer("}") {
    for (const int size : {20, 34, 16})
        FontSizes.Add(size);
    for (int font = 0; font < 3; ++font)
        FontBold.Add(0);
    setReadOnly(true);
    setUndoRedoEnabled(false);
    // A scroll bar that appears once the text overflows narrows the text, and the whole document
    // is laid out again: a long paragraph would be laid out two or three times per entry.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

bool TKVTextView::ShowText(catalog::TBrowzerContainer& container, int index) {
    if (index < 0)
        return false;
    container.SetActive(true);
    const catalog::TTreeViewData* tree = container.TreeData();
    if (tree == nullptr || index >= tree->Count())
        return false;
    const std::int32_t recordRef = tree->RecordRef(index);
    if (catalog::RecordKindOf(recordRef) != catalog::RecordKind::Info)
        return false;

    catalog::TScriptInfoText record(nullptr);
    LoadRecordAt(container, catalog::RecordOffset(recordRef), record);

    std::string rtf = RtfOfLines(record.Lines);
    {
        util::UpdatesSuspended suspended(*this);
        setLineWrapMode(record.Wrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
        LoadRtf(std::move(rtf));
    }
    show();
    return true;
}

void TKVTextView::SetMarkupLines(const rtl::TStringList& lines) {
    LoadRtf(RtfOfLines(lines));
}

std::string TKVTextView::RtfOfLines(const rtl::TStringList& lines) const {
    if (lines.Empty())
        return {};
    if (rtl::FindNoCase(lines.Strings(0), "{\\rtf") != std::string::npos)
        return lines.Text();
    rtl::TStringList rtf;
    rtf.Add(RtfHeader);
    for (const auto& line : lines)
        rtf.Add(MarkupLineToRtf(line.text));
    rtf.Add(RtfTrailer);
    return rtf.Text();
}

void TKVTextView::LoadRtf(std::string rtf) {
    ReadRtf(rtf, *document());
    lastRtf_ = std::move(rtf);
    // Reading leaves the cursor after the text, where the view would scroll once shown: every
    // text opens at its top.
    moveCursor(QTextCursor::Start);
}

std::string TKVTextView::MarkupLineToRtf(const std::string& line) const {
    std::string t;
    for (const char c : line) {
        t += c;
        if (c == '\\')
            t += c;
    }
    t += " \\par";
    // A tag is "<F" and a digit; "<F" before anything else (vendor text such as "<Fax ...>") is
    // ordinary text. The font words put in a tag's place hold no "<F", so the search goes on
    // from there.
    for (std::size_t at = rtl::FindNoCase(t, "<F"); at != std::string::npos;
         at = rtl::FindNoCase(t, "<F", at)) {
        const char digit = t[at + 2];
        if (!IsDigit(digit)) {
            at += 2;
            continue;
        }
        const int font = digit - '0';
        const char* bold = FontBold.Items(font) == 0 ? "\\b0" : "\\b";
        const std::string fontWords = std::string("\\F") + digit + bold + "\\fs" +
                                      std::to_string(FontSizes.Items(font)) + " ";
        t.replace(at, 4, fontWords);
    }
    return "\\sbys " + t;
}

void TKVTextView::CopyText() {
    if (textCursor().hasSelection()) {
        copy();
        return;
    }
    util::UpdatesSuspended suspended(*this);
    selectAll();
    QMimeData* mime = createMimeDataFromSelection();
    if (!lastRtf_.empty()) {
        const QByteArray rtf(lastRtf_.data(), static_cast<qsizetype>(lastRtf_.size()));
        mime->setData(QStringLiteral("text/rtf"), rtf);
        mime->setData(QStringLiteral("application/rtf"), rtf);
    }
    QGuiApplication::clipboard()->setMimeData(mime);
    moveCursor(QTextCursor::Start);
}

void TKVTextView::PrintText(QPrinter& printer) {
    printer.setDocName(QString::fromLatin1(kPrintJobTitle));
    print(&printer);
}

void TKVTextView::Clear() {
    clear();
    lastRtf_.clear();
}

} // namespace browser
