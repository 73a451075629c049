#include "browser/EntryDetails.h"

#include "browser/AnsiText.h"
#include "browser/TextView.h"
#include "browser/WindowFonts.h"
#include "catalog/Container.h"
#include "catalog/Records.h"
#include "platform/CodePage.h"
#include "util/widgets/Controls.h"

#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollArea>

namespace browser {

using util::Named;
using util::Placed;

namespace {

constexpr int kEditHeight = 23;
constexpr int kMaxKeywordLine = 255;
// Where the scroll box sits inside the group box (below its title).
constexpr int kBoxMargin = 2;
constexpr int kBoxTitleHeight = 16;

QLabel* BoldLabel(QWidget* parent, const char* name, const QString& caption, int x, int y) {
    auto* label = Named(new QLabel(caption, parent), name);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->adjustSize();
    label->move(x, y);
    return label;
}

QLineEdit* ReadOnlyEdit(QWidget* parent, const char* name, int x, int y, int width) {
    auto* edit = Named(new QLineEdit(parent), name);
    edit->setReadOnly(true);
    edit->setGeometry(x, y, width, kEditHeight);
    return edit;
}

// Appends a heading and its lines, the first line marked with font 0.
void AddBlock(rtl::TStringList& summary, const char* heading, const rtl::TStringList& lines) {
    summary.Add(heading);
    bool first = true;
    for (const auto& line : lines) {
        summary.Add(first ? "<F0>" + line.text : line.text);
        first = false;
    }
}

} // namespace

std::string DoubleAmpersands(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        result += c;
        if (c == '&')
            result += '&';
    }
    return result;
}

QString LanguageName(int code) {
    switch (code) {
    case 1:
    case 44:
        return QStringLiteral("Englisch");
    case 33:
        return QStringLiteral("Französisch");
    case 49:
        return QStringLiteral("Deutsch");
    default:
        return {};
    }
}

QString CompilerNames(int flags) {
    static const char* const names[] = {"Pandex 1.0X", "Pandex 2", "BPascal"};
    QStringList set;
    for (int bit = 0; bit < 3; ++bit) {
        if (flags & (1 << bit))
            set << QString::fromLatin1(names[bit]);
    }
    return set.join(QStringLiteral(", "));
}

QString ComponentInfoLine(const std::string& os, int language, int compilers) {
    QString line;
    auto append = [&line](const QString& part) {
        if (!line.isEmpty())
            line += QStringLiteral("  ");
        line += part;
    };
    if (!os.empty())
        append(QStringLiteral("OS: ") + AnsiToQt(os));
    if (const QString name = LanguageName(language); !name.isEmpty())
        append(QStringLiteral("Sprache: ") + name);
    if (const QString names = CompilerNames(compilers); !names.isEmpty())
        append(QStringLiteral("Compiler: ") + names);
    return line;
}

QString ComponentBoxCaption(const catalog::TCompoText& compo) {
    return AnsiToQt(DoubleAmpersands(" " + compo.LongName + "   Version " + compo.Version + " "));
}

rtl::TStringList KeywordLines(const rtl::TStringList& keywords) {
    rtl::TStringList lines;
    std::string line;
    for (const auto& keyword : keywords) {
        if (keyword.text.size() + line.size() > kMaxKeywordLine) {
            lines.Add(line);
            line = keyword.text;
        } else {
            line += ' ' + keyword.text;
        }
    }
    lines.Add(line);
    return lines;
}

rtl::TStringList ComponentSummary(const catalog::TCompoText& compo) {
    rtl::TStringList summary;
    if (!compo.ShortInfo.Empty())
        AddBlock(summary, "<F1>KurzInfo:", compo.ShortInfo);
    if (!compo.Order.Empty())
        AddBlock(summary, "<F1>Order:", compo.Order);
    if (!compo.Price.empty()) {
        summary.Add("<F1>Preis:");
        summary.Add("<F0>" + compo.Price);
        summary.Add("");
    }
    if (!compo.Contact.Empty())
        AddBlock(summary, "<F1>Kontaktadresse:", compo.Contact);
    if (!compo.KeyWords.Empty())
        AddBlock(summary, "<F1>Schl\xFCsselw\xF6rter:", KeywordLines(compo.KeyWords));
    return summary;
}

bool EntryRecordRef(const catalog::TBrowzerContainer& container, int index,
                    std::int32_t& recordRef) {
    const catalog::TTreeViewData* tree = container.TreeData();
    if (tree == nullptr || index < 0 || index >= tree->Count())
        return false;
    recordRef = tree->RecordRef(index);
    return recordRef != catalog::kNoRecord;
}

TComponentPage::TComponentPage(QWidget* parent) : QWidget(parent) {
    CompoDescBox = Named(new QGroupBox(this), "CompoDescBox");
    CompoScrollBox = Named(new QScrollArea(CompoDescBox), "CompoScrollBox");
    CompoScrollBox->setFrameShape(QFrame::NoFrame);
    CompoScrollContent = Named(new QWidget, "CompoScrollContent");
    CompoScrollBox->setWidget(CompoScrollContent);
    QWidget* box = CompoScrollContent;

    KompoCopyLabel = BoldLabel(box, "KompoCopyLabel", QStringLiteral("Copyright:"), 8, 3);
    KompoCopyLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    CompoCopyright = ReadOnlyEdit(box, "CompoCopyright", 78, 1, 299);

    UseFulLabel = BoldLabel(box, "UseFulLabel", QStringLiteral("Wertung:"), 13, 27);
    UseFulPanel = Placed(new QFrame(box), "UseFulPanel", 77, 26, 85, 19);
    UseFulPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    RatingLabel =
        Placed(new QLabel(QStringLiteral("keine"), UseFulPanel), "RatingLabel", 2, 2, 81, 15);
    RatingGauge = Placed(new QProgressBar(UseFulPanel), "RatingGauge", 4, 2, 77, 15);
    RatingGauge->setRange(0, 100);
    RatingGauge->setTextVisible(false);
    RatingGauge->setStyleSheet(QStringLiteral("QProgressBar { background: navy; border: none; } "
                                              "QProgressBar::chunk { background: yellow; }"));

    Label7 = BoldLabel(box, "Label7", QStringLiteral("Distribution:"), 170, 27);
    CompoDistribution = ReadOnlyEdit(box, "CompoDistribution", 256, 24, 121);
    LangCompInfo = ReadOnlyEdit(box, "LangCompInfo", 9, 47, 368);
    CompolimitLabel = BoldLabel(box, "CompolimitLabel", QStringLiteral("Einschränkungen:"), 8, 74);
    CompoLimitations = ReadOnlyEdit(box, "CompoLimitations", 132, 70, 245);

    StuffPanel = Placed(new QFrame(box), "StuffPanel", 6, 100, 373, 195);
    StuffPanel->setFrameStyle(QFrame::Box | QFrame::Plain);
    StuffPanel->setAutoFillBackground(true);
    QPalette white = StuffPanel->palette();
    white.setColor(QPalette::Window, Qt::white);
    StuffPanel->setPalette(white);
    StuffView = Placed(new TKVTextView(StuffPanel), "StuffView", 1, 1, 371, 193);
    StuffView->setFrameShape(QFrame::NoFrame);
}

void TComponentPage::ResizeBox(int width, int height) {
    CompoDescBox->setGeometry(CompoDescBox->x(), CompoDescBox->y(), width, height);
    const int scrollWidth = width - 2 * kBoxMargin;
    const int scrollHeight = height - kBoxTitleHeight - kBoxMargin;
    CompoScrollBox->setGeometry(kBoxMargin, kBoxTitleHeight, scrollWidth, scrollHeight);
    CompoScrollContent->resize(scrollWidth, scrollHeight);
}

void TComponentPage::FitWidths() {
    const int parentWidth = CompoScrollContent->width();
    for (QLineEdit* edit : {CompoCopyright, CompoDistribution, LangCompInfo, CompoLimitations})
        edit->resize(parentWidth - edit->x() - 4, edit->height());
    StuffPanel->resize(parentWidth - StuffPanel->x() - 4,
                       CompoScrollContent->height() - StuffPanel->y() - 4);
    StuffView->setGeometry(1, 1, StuffPanel->width() - 2, StuffPanel->height() - 2);
}

void TComponentPage::ShowRating(int rating) {
    if (rating > 0) {
        RatingGauge->setValue(rating * 10);
        RatingGauge->show();
    } else {
        RatingGauge->hide();
    }
}

void TComponentPage::ShowInfoLine(const QString& line) {
    if (!line.isEmpty()) {
        LangCompInfo->show();
        CompoLimitations->move(CompoLimitations->x(), LangCompInfo->y() + LangCompInfo->height());
    } else {
        LangCompInfo->hide();
        CompoLimitations->move(CompoLimitations->x(), LangCompInfo->y());
    }
    CompolimitLabel->move(CompolimitLabel->x(), CompoLimitations->y() + 4);
    LangCompInfo->setText(line);
}

void TComponentPage::ShowCompo(const catalog::TCompoText& compo) {
    // The summary first: a summary that cannot be converted leaves the whole page as it was.
    StuffView->SetMarkupLines(ComponentSummary(compo));
    CompoDescBox->setTitle(ComponentBoxCaption(compo));
    CompoCopyright->setText(AnsiToQt(compo.Copyright));
    CompoCopyright->setCursorPosition(0);
    ShowRating(compo.Rating);
    CompoDistribution->setText(AnsiToQt(compo.Distribution));
    CompoDistribution->setCursorPosition(0);
    ShowInfoLine(ComponentInfoLine(compo.OS, compo.Language, compo.Compilers));
    LangCompInfo->setCursorPosition(0);
    FitWidths();
    CompoLimitations->setText(AnsiToQt(compo.Limitations));
    CompoLimitations->setCursorPosition(0);
    StuffView->update();
}

TShortDescPage::TShortDescPage(QWidget* parent) : QWidget(parent) {
    ShortMemo = Named(new QPlainTextEdit(this), "ShortMemo");
    ShortMemo->setReadOnly(true);
    ShortMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ShortMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    ShortMemo->setFont(Fixedsys(12));
    QPalette black = ShortMemo->palette();
    black.setColor(QPalette::Text, Qt::black);
    ShortMemo->setPalette(black);
}

void TShortDescPage::ResizeMemo(int width, int height) {
    ShortMemo->setGeometry(0, 0, width, height);
}

void TShortDescPage::ShowShort(const catalog::TShortText& record) {
    std::string text;
    for (int i = 1; i < record.Lines.Count(); ++i)
        text += record.Lines.Strings(i) + "\r\n";
    QString unicode = QString::fromStdString(platform::Oem437ToUtf8(text));
    unicode.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    ShortMemo->setPlainText(unicode);
    ShortMemo->moveCursor(QTextCursor::Start);
}

std::string ShortTextFileName(const catalog::TShortText& record) {
    return record.Lines.Empty() ? std::string() : record.Lines.Strings(0);
}

} // namespace browser
