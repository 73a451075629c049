#include "browser/RtfReader.h"

#include "browser/AnsiText.h"
#include "rtl/StrUtils.h"

#include <QColor>
#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <climits>
#include <map>
#include <string>
#include <vector>

namespace browser {

namespace {

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

bool RtfTokenizer::Next(RtfToken& token) {
    while (!AtEnd()) {
        const char c = rtf_[pos_];
        if (c == '{' || c == '}') {
            ++pos_;
            token = RtfToken{};
            token.kind = c == '{' ? RtfToken::Kind::GroupOpen : RtfToken::Kind::GroupClose;
            return true;
        }
        if (c == '\\') {
            if (ReadEscape(token))
                return true;
            continue;
        }
        if (c == '\r' || c == '\n') {
            ++pos_;
            continue;
        }
        ReadText(token);
        return true;
    }
    return false;
}

// pos_ is at a backslash. False when the escape yields no token (truncated input).
bool RtfTokenizer::ReadEscape(RtfToken& token) {
    ++pos_;
    if (AtEnd())
        return false;
    token = RtfToken{};
    const char c = rtf_[pos_];
    if (IsLetter(c)) {
        ReadWord(token);
        return true;
    }
    if (c == '\'')
        return ReadHexByte(token);
    ++pos_;
    if (c == '\\' || c == '{' || c == '}') {
        token.kind = RtfToken::Kind::Text;
        token.text = rtf_.substr(pos_ - 1, 1);
        return true;
    }
    token.kind = RtfToken::Kind::Symbol;
    token.symbol = (c == '\r') ? '\n' : c;
    return true;
}

void RtfTokenizer::ReadWord(RtfToken& token) {
    const std::size_t start = pos_;
    while (!AtEnd() && IsLetter(rtf_[pos_]))
        ++pos_;
    token.kind = RtfToken::Kind::Word;
    token.text = rtf_.substr(start, pos_ - start);
    const bool negative =
        !AtEnd() && rtf_[pos_] == '-' && pos_ + 1 < rtf_.size() && IsDigit(rtf_[pos_ + 1]);
    if (negative)
        ++pos_;
    if (!AtEnd() && IsDigit(rtf_[pos_])) {
        token.hasParameter = true;
        token.parameter = negative ? -ReadParameter() : ReadParameter();
    }
    if (!AtEnd() && rtf_[pos_] == ' ')
        ++pos_;
    if (token.text == "bin" && token.parameter > 0)
        pos_ +=
            std::min<std::size_t>(static_cast<std::size_t>(token.parameter), rtf_.size() - pos_);
}

// Digits at pos_, saturated at INT_MAX.
int RtfTokenizer::ReadParameter() {
    long long value = 0;
    while (!AtEnd() && IsDigit(rtf_[pos_])) {
        value = std::min<long long>(value * 10 + (rtf_[pos_] - '0'), INT_MAX);
        ++pos_;
    }
    return static_cast<int>(value);
}

// pos_ is at the quote of \'hh. An escape without two hex digits is dropped.
bool RtfTokenizer::ReadHexByte(RtfToken& token) {
    ++pos_;
    int value = 0;
    int digits = 0;
    while (digits < 2 && !AtEnd() && rtl::HexDigitValue(rtf_[pos_]) >= 0) {
        value = value * 16 + rtl::HexDigitValue(rtf_[pos_]);
        ++pos_;
        ++digits;
    }
    if (digits < 2)
        return false;
    token.kind = RtfToken::Kind::HexByte;
    token.symbol = static_cast<char>(value);
    return true;
}

void RtfTokenizer::ReadText(RtfToken& token) {
    const std::size_t start = pos_;
    while (!AtEnd()) {
        const char c = rtf_[pos_];
        if (c == '{' || c == '}' || c == '\\' || c == '\r' || c == '\n')
            break;
        ++pos_;
    }
    token = RtfToken{};
    token.kind = RtfToken::Kind::Text;
    token.text = rtf_.substr(start, pos_ - start);
}

namespace {

constexpr int kDefaultHalfPoints = 24;
constexpr int kLargestHalfPoints = 3276;
constexpr int kLargestUnicodeSkip = 16;
constexpr std::size_t kDeepestGroup = 256;

enum class Destination { Text, FontTable, ColorTable, Skipped };

// Everything a group saves and its closing brace restores.
struct GroupState {
    Destination destination = Destination::Text;
    int font = -1; // font table number; -1: the document's default font
    int halfPoints = kDefaultHalfPoints;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int color = 0; // colour table index; 0 is the automatic colour
    Qt::Alignment alignment = Qt::AlignLeft;
    int unicodeSkip = 1;

    void ResetCharacter() {
        font = -1;
        halfPoints = kDefaultHalfPoints;
        bold = italic = underline = false;
        color = 0;
    }
};

struct FontEntry {
    QString family;
    QFont::StyleHint hint = QFont::AnyStyle;
};

// Destinations whose content is not document text. Groups starting with \* are skipped too.
bool IsSkippedDestination(std::string_view word) {
    static constexpr std::string_view kWords[] = {"stylesheet",
                                                  "info",
                                                  "pict",
                                                  "header",
                                                  "headerl",
                                                  "headerr",
                                                  "headerf",
                                                  "footer",
                                                  "footerl",
                                                  "footerr",
                                                  "footerf",
                                                  "footnote",
                                                  "annotation",
                                                  "object",
                                                  "listtable",
                                                  "listoverridetable",
                                                  "revtbl",
                                                  "rsidtbl",
                                                  "filetbl",
                                                  "xe",
                                                  "tc",
                                                  "txe",
                                                  "fldinst",
                                                  "themedata",
                                                  "colorschememapping",
                                                  "latentstyles",
                                                  "datastore",
                                                  "pn",
                                                  "nonshppict",
                                                  "shp",
                                                  "userprops",
                                                  "docvar",
                                                  "template"};
    return std::ranges::find(kWords, word) != std::end(kWords);
}

// Words that stand for one character of text; 0 when the word is none of them.
char16_t SpecialCharacter(std::string_view word) {
    static const std::map<std::string_view, char16_t> kCharacters = {
        {"tab", u'\t'},          {"cell", u'\t'},        {"line", u'\u2028'},
        {"emdash", u'\u2014'},   {"endash", u'\u2013'},  {"emspace", u'\u2003'},
        {"enspace", u'\u2002'},  {"qmspace", u'\u2005'}, {"bullet", u'\u2022'},
        {"lquote", u'\u2018'},   {"rquote", u'\u2019'},  {"ldblquote", u'\u201C'},
        {"rdblquote", u'\u201D'}};
    const auto found = kCharacters.find(word);
    return found == kCharacters.end() ? 0 : found->second;
}

bool IsParagraphEnd(std::string_view word) {
    return word == "par" || word == "row" || word == "sect" || word == "page";
}

QFont::StyleHint FamilyHint(std::string_view word) {
    if (word == "fswiss")
        return QFont::SansSerif;
    if (word == "froman")
        return QFont::Serif;
    if (word == "fmodern")
        return QFont::TypeWriter;
    if (word == "fscript")
        return QFont::Cursive;
    if (word == "fdecor")
        return QFont::Decorative;
    return QFont::AnyStyle;
}

// The old face names in catalogue texts, as the fonts installed here call them.
QString InstalledFamily(const QString& name) {
    if (name.compare(QLatin1String("Courier"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Courier New");
    return name;
}

class DocumentBuilder {
public:
    explicit DocumentBuilder(QTextDocument& document) : cursor_(&document) {}

    void Read(std::string_view rtf) {
        cursor_.beginEditBlock();
        RtfTokenizer tokenizer(rtf);
        RtfToken token;
        while (tokenizer.Next(token))
            Handle(token);
        FlushText();
        cursor_.endEditBlock();
    }

private:
    void Handle(const RtfToken& token) {
        if (unicodeSkipLeft_ > 0 && SkipUnicodeFallback(token))
            return;
        switch (token.kind) {
        case RtfToken::Kind::GroupOpen:
            OpenGroup();
            break;
        case RtfToken::Kind::GroupClose:
            CloseGroup();
            break;
        case RtfToken::Kind::Word:
            HandleWord(token.text, token.hasParameter, token.parameter);
            break;
        case RtfToken::Kind::Symbol:
            HandleSymbol(token.symbol);
            break;
        case RtfToken::Kind::HexByte:
            AddBytes(std::string_view(&token.symbol, 1));
            break;
        case RtfToken::Kind::Text:
            AddBytes(token.text);
            break;
        }
    }

    // After \uN the next characters are the fallback for readers without Unicode. Returns true
    // when the whole token was skipped.
    bool SkipUnicodeFallback(const RtfToken& token) {
        if (token.kind == RtfToken::Kind::GroupOpen || token.kind == RtfToken::Kind::GroupClose) {
            unicodeSkipLeft_ = 0;
            return false;
        }
        if (token.kind != RtfToken::Kind::Text) {
            --unicodeSkipLeft_;
            return true;
        }
        const std::size_t skipped =
            std::min(token.text.size(), static_cast<std::size_t>(unicodeSkipLeft_));
        unicodeSkipLeft_ -= static_cast<int>(skipped);
        if (skipped < token.text.size())
            AddBytes(token.text.substr(skipped));
        return true;
    }

    // Groups nested deeper than any word processor writes share their parent's state, so
    // hostile nesting costs no memory.
    void OpenGroup() {
        FlushText();
        if (stack_.size() < kDeepestGroup)
            stack_.push_back(state_);
        else
            ++groupsTooDeep_;
    }

    void CloseGroup() {
        FlushText();
        if (groupsTooDeep_ > 0) {
            --groupsTooDeep_;
            return;
        }
        if (state_.destination == Destination::FontTable)
            CommitFont();
        if (stack_.empty())
            return;
        state_ = stack_.back();
        stack_.pop_back();
    }

    void HandleWord(std::string_view word, bool hasParameter, int parameter) {
        if (state_.destination == Destination::Skipped)
            return;
        if (word == "uc") {
            state_.unicodeSkip = std::clamp(parameter, 0, kLargestUnicodeSkip);
            return;
        }
        if (word == "u" && hasParameter) {
            AddCharacter(UnicodeCharacter(parameter));
            unicodeSkipLeft_ = state_.unicodeSkip;
            return;
        }
        if (state_.destination == Destination::FontTable) {
            HandleFontTableWord(word, hasParameter, parameter);
            return;
        }
        if (state_.destination == Destination::ColorTable) {
            HandleColorTableWord(word, parameter);
            return;
        }
        if (const char16_t c = SpecialCharacter(word)) {
            AddCharacter(QChar(c));
            return;
        }
        FlushText();
        if (IsParagraphEnd(word))
            EndParagraph();
        else if (!HandleDestinationWord(word))
            HandleFormattingWord(word, hasParameter, parameter);
    }

    static QChar UnicodeCharacter(int parameter) {
        if (parameter < -32768 || parameter > 65535)
            return QChar::ReplacementCharacter;
        return QChar(static_cast<char16_t>(parameter < 0 ? parameter + 65536 : parameter));
    }

    bool HandleDestinationWord(std::string_view word) {
        if (word == "fonttbl")
            state_.destination = Destination::FontTable;
        else if (word == "colortbl")
            state_.destination = Destination::ColorTable;
        else if (IsSkippedDestination(word))
            state_.destination = Destination::Skipped;
        else
            return false;
        return true;
    }

    void HandleFormattingWord(std::string_view word, bool hasParameter, int parameter) {
        const bool on = !hasParameter || parameter != 0;
        // Control words are case-sensitive: the markup's "\F" is no font word, and a word
        // processor, like this reader, leaves the font as it is.
        if (word == "f" && hasParameter)
            state_.font = parameter;
        else if (word == "deff" && hasParameter)
            defaultFont_ = parameter;
        else if (word == "fs")
            state_.halfPoints = (hasParameter && parameter > 0)
                                    ? std::min(parameter, kLargestHalfPoints)
                                    : kDefaultHalfPoints;
        else if (word == "b")
            state_.bold = on;
        else if (word == "i")
            state_.italic = on;
        else if (word == "ul")
            state_.underline = on;
        else if (word == "ulnone")
            state_.underline = false;
        else if (word == "cf")
            state_.color = hasParameter ? parameter : 0;
        else if (word == "plain")
            state_.ResetCharacter();
        else if (word == "pard")
            state_.alignment = Qt::AlignLeft;
        else if (word == "ql")
            state_.alignment = Qt::AlignLeft;
        else if (word == "qc")
            state_.alignment = Qt::AlignHCenter;
        else if (word == "qr")
            state_.alignment = Qt::AlignRight;
        else if (word == "qj")
            state_.alignment = Qt::AlignJustify;
    }

    void HandleSymbol(char symbol) {
        if (state_.destination == Destination::Skipped)
            return;
        switch (symbol) {
        case '*':
            FlushText();
            state_.destination = Destination::Skipped;
            break;
        case '~':
            AddCharacter(QChar::Nbsp);
            break;
        case '_':
            AddCharacter(QChar(u'\u2011'));
            break;
        case '\n':
            FlushText();
            EndParagraph();
            break;
        default: // \- optional hyphen, \: index subentry, \| formula: nothing to show
            break;
        }
    }

    void HandleFontTableWord(std::string_view word, bool hasParameter, int parameter) {
        if (word == "f" && hasParameter) {
            CommitFont();
            fontNumber_ = parameter;
        } else if (const QFont::StyleHint hint = FamilyHint(word); hint != QFont::AnyStyle) {
            font_.hint = hint;
        }
    }

    void HandleColorTableWord(std::string_view word, int parameter) {
        const int value = std::clamp(parameter, 0, 255);
        if (word == "red")
            red_ = value;
        else if (word == "green")
            green_ = value;
        else if (word == "blue")
            blue_ = value;
        else
            return;
        colorGiven_ = true;
    }

    void AddBytes(std::string_view bytes) {
        if (state_.destination == Destination::Skipped)
            return;
        for (const QChar c : AnsiToQt(std::string(bytes)))
            AddCharacter(c);
    }

    void AddCharacter(QChar c) {
        switch (state_.destination) {
        case Destination::Skipped:
            return;
        case Destination::FontTable:
            if (c == u';')
                CommitFont();
            else
                font_.family += c;
            return;
        case Destination::ColorTable:
            if (c == u';')
                CommitColor();
            return;
        case Destination::Text:
            if (c == u'\t' || c.category() != QChar::Other_Control)
                text_ += c;
            return;
        }
    }

    void CommitFont() {
        const QString family = font_.family.trimmed();
        if (fontNumber_ >= 0 && !family.isEmpty())
            fonts_[fontNumber_] = FontEntry{InstalledFamily(family), font_.hint};
        font_ = FontEntry{};
    }

    void CommitColor() {
        colors_.push_back(colorGiven_ ? QColor(red_, green_, blue_) : QColor());
        red_ = green_ = blue_ = 0;
        colorGiven_ = false;
    }

    QTextCharFormat CharFormat() const {
        QTextCharFormat format;
        const auto font = fonts_.find(state_.font >= 0 ? state_.font : defaultFont_);
        if (font != fonts_.end()) {
            format.setFontFamilies({font->second.family});
            format.setFontStyleHint(font->second.hint);
        }
        format.setFontPointSize(state_.halfPoints / 2.0);
        format.setFontWeight(state_.bold ? QFont::Bold : QFont::Normal);
        format.setFontItalic(state_.italic);
        format.setFontUnderline(state_.underline);
        if (state_.color > 0 && static_cast<std::size_t>(state_.color) < colors_.size() &&
            colors_[static_cast<std::size_t>(state_.color)].isValid())
            format.setForeground(colors_[static_cast<std::size_t>(state_.color)]);
        return format;
    }

    QTextBlockFormat BlockFormat() const {
        QTextBlockFormat format;
        format.setAlignment(state_.alignment);
        return format;
    }

    // A paragraph mark ends the current block; the next block is opened only when more text or
    // another mark follows, so a mark at the very end adds no empty paragraph.
    void EndParagraph() {
        OpenPendingBlock();
        ApplyAlignment();
        if (cursor_.block().length() == 1)
            cursor_.setBlockCharFormat(CharFormat());
        blockPending_ = true;
    }

    void OpenPendingBlock() {
        if (!blockPending_)
            return;
        cursor_.insertBlock(BlockFormat(), CharFormat());
        blockPending_ = false;
    }

    // The paragraph takes the alignment in force when its text or its mark is read.
    void ApplyAlignment() {
        if (cursor_.blockFormat().alignment() != state_.alignment)
            cursor_.setBlockFormat(BlockFormat());
    }

    void FlushText() {
        if (text_.isEmpty())
            return;
        OpenPendingBlock();
        ApplyAlignment();
        cursor_.insertText(text_, CharFormat());
        text_.clear();
    }

    QTextCursor cursor_;
    GroupState state_;
    std::vector<GroupState> stack_;
    std::size_t groupsTooDeep_ = 0;
    QString text_; // text read in the current state, not yet in the document
    bool blockPending_ = false;
    int unicodeSkipLeft_ = 0;

    int defaultFont_ = 0;
    std::map<int, FontEntry> fonts_;
    int fontNumber_ = -1; // the font table entry being read
    FontEntry font_;

    std::vector<QColor> colors_;
    int red_ = 0;
    int green_ = 0;
    int blue_ = 0;
    bool colorGiven_ = false;
};

} // namespace

void ReadRtf(std::string_view rtf, QTextDocument& document) {
    document.clear();
    DocumentBuilder(document).Read(rtf);
}

} // namespace browser
