// A small RTF reader: the RTF that the text view generates from font-tag markup, and the common
// RTF of word processors, into a QTextDocument. Text bytes and \'hh escapes are Windows-1252.
// Contract: the reader never reads outside its input and never fails on malformed RTF
// (unbalanced braces, truncated escapes, huge numbers): it shows whatever text it could read.
// Control words it does not know are skipped, never shown.
#pragma once

#include <string_view>

class QTextDocument;

namespace browser {

struct RtfToken {
    enum class Kind {
        GroupOpen,  // {
        GroupClose, // }
        Word,       // \word or \wordN: text holds the name
        Symbol,     // \~ \- \_ \* \: \| and a backslash before a line end (reported as '\n')
        HexByte,    // \'hh: symbol holds the byte
        Text,       // plain bytes, and the escaped \\ \{ \}: text holds them
    };
    Kind kind = Kind::Text;
    std::string_view text;
    bool hasParameter = false;
    int parameter = 0;
    char symbol = 0;
};

// Splits RTF into tokens. Line ends outside escapes are dropped; the one blank that ends a
// control word belongs to the word; the bytes after \binN are skipped.
class RtfTokenizer {
public:
    explicit RtfTokenizer(std::string_view rtf) : rtf_(rtf) {}
    // The next token; false at the end of the input.
    bool Next(RtfToken& token);

private:
    bool ReadEscape(RtfToken& token);
    void ReadWord(RtfToken& token);
    int ReadParameter();
    bool ReadHexByte(RtfToken& token);
    void ReadText(RtfToken& token);
    bool AtEnd() const { return pos_ >= rtf_.size(); }

    std::string_view rtf_;
    std::size_t pos_ = 0;
};

// Replaces the document's content by the text and formatting read from rtf. A paragraph mark
// at the very end of the text makes no empty last paragraph.
void ReadRtf(std::string_view rtf, QTextDocument& document);

} // namespace browser
