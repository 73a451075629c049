// The two detail pages of the main window besides the info text: the component page (names,
// copyright, rating, distribution, platform line, limitations and a formatted summary) and the
// short-description page (a DOS text shown in a monospaced font), with the text rules they use.
#pragma once

#include "rtl/StringList.h"

#include <QString>
#include <QWidget>
#include <cstdint>
#include <string>

class QGroupBox;
class QLabel;
class QLineEdit;
class QFrame;
class QPlainTextEdit;
class QProgressBar;
class QScrollArea;

namespace catalog {
class TBrowzerContainer;
class TCompoText;
class TShortText;
} // namespace catalog

namespace browser {

class TKVTextView;

// Every "&" doubled, so that a caption shows it literally.
std::string DoubleAmpersands(const std::string& text);
// Language by telephone country code: 1 and 44 "Englisch", 33 "Französisch", 49 "Deutsch".
QString LanguageName(int code);
// Names of the set compiler bits in bit order, joined by ", ".
QString CompilerNames(int flags);
// "OS: ..", "Sprache: ..", "Compiler: .." for the parts that are not empty, two blanks apart.
QString ComponentInfoLine(const std::string& os, int language, int compilers);
// " Name   Version 1.0 " with ampersands doubled.
QString ComponentBoxCaption(const catalog::TCompoText& compo);
// Keywords packed into lines: a keyword joins the line with a blank unless the two together
// would pass 255 characters; then the line is ended and the keyword starts the next one.
rtl::TStringList KeywordLines(const rtl::TStringList& keywords);
// The markup lines of the component summary: short info, order, price, contact, keywords.
rtl::TStringList ComponentSummary(const catalog::TCompoText& compo);

// The record reference of a tree-data entry of the container's loaded tree; false for an index
// that is not a node or a node without a record.
bool EntryRecordRef(const catalog::TBrowzerContainer& container, int index,
                    std::int32_t& recordRef);

// Notebook page "Komponente".
class TComponentPage : public QWidget {
    Q_OBJECT

public:
    explicit TComponentPage(QWidget* parent = nullptr);

    // Fills every control from the component.
    void ShowCompo(const catalog::TCompoText& compo);
    // The group box takes the given size; the scroll box fills it.
    void ResizeBox(int width, int height);
    // Stretches the edits and the summary panel to the scroll box's width.
    void FitWidths();

    QGroupBox* CompoDescBox;
    QScrollArea* CompoScrollBox;
    QWidget* CompoScrollContent;
    QLabel* KompoCopyLabel;
    QLineEdit* CompoCopyright;
    QLabel* UseFulLabel;
    QFrame* UseFulPanel;
    QLabel* RatingLabel;
    QProgressBar* RatingGauge;
    QLabel* Label7;
    QLineEdit* CompoDistribution;
    QLineEdit* LangCompInfo;
    QLabel* CompolimitLabel;
    QLineEdit* CompoLimitations;
    QFrame* StuffPanel;
    TKVTextView* StuffView;

private:
    void ShowRating(int rating);
    void ShowInfoLine(const QString& line);
};

// Notebook page "ShortDesc".
class TShortDescPage : public QWidget {
    Q_OBJECT

public:
    explicit TShortDescPage(QWidget* parent = nullptr);

    // The record's lines after the first (its file name), decoded from code page 437.
    void ShowShort(const catalog::TShortText& record);
    void ResizeMemo(int width, int height);

    QPlainTextEdit* ShortMemo;
};

// The file name a short text carries in its first line ("" when it has none).
std::string ShortTextFileName(const catalog::TShortText& record);

} // namespace browser
