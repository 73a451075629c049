// The rules of a picture mask, in one place: which positions take input and which characters
// they take, and which positions hold literals.
//
//   "9"            a digit, or a blank
//   "X"            any character
//   "d", "m", "y"  a digit (or a blank) of the day, month or year of a date field
//   substitution   characters 241 to 247 ("ñ" ...): the literal that the field's user data
//                  defines for them, else the character itself
//   anything else  itself, as a literal
//
// A field's text always has the mask's length: a blank at each empty input position, the
// literals in their places.
#pragma once

#include <QChar>
#include <QString>
#include <array>

namespace entryfields {

inline constexpr char16_t kFirstSubstChar = 0xF1;
inline constexpr int kSubstCharCount = 7;

// Defines what the substitution characters of a mask stand for. A form creates one, attaches it
// to its fields and frees it after them.
class TUserData {
public:
    // The substitution character (241 to 247) shows and reads as literal.
    void SetSubstChar(QChar substitution, QChar literal);
    // The literal for a substitution character: itself when undefined or not one.
    QChar LiteralFor(QChar substitution) const;

private:
    std::array<QChar, kSubstCharCount> literals_{};
};

class TPictureMask {
public:
    explicit TPictureMask(QString picture = {}, const TUserData* userData = nullptr);

    const QString& Picture() const { return picture_; }
    int Length() const { return static_cast<int>(picture_.size()); }

    bool IsInputPos(int pos) const;
    // The character a literal position always holds.
    QChar LiteralAt(int pos) const;
    // Whether typing ch at the input position pos is allowed.
    bool Accepts(int pos, QChar ch) const;
    // The first input position at or after from; Length() when there is none.
    int NextInputPos(int from) const;
    // The last input position before the position; -1 when there is none.
    int PrevInputPos(int before) const;

    // The text of an empty field: blanks and literals.
    QString EmptyText() const;
    // Lays text onto the mask: each input position takes the next character of text (whatever
    // it is); a literal position takes its literal, and the text's next character is consumed
    // only when it is that literal. The result has the mask's length.
    QString Fit(const QString& text) const;
    // The characters at the input positions of the fitted text, in order.
    QString InputsOf(const QString& text) const;
    // A text whose input positions hold the characters in order (blanks when they run out).
    QString WithInputs(const QString& inputs) const;
    // The first position whose character the mask forbids (a blank is allowed everywhere);
    // -1 when there is none. The text is fitted first.
    int FirstForbidden(const QString& text) const;
    // The characters at the positions of a date part ('d', 'm' or 'y') in the fitted text,
    // blanks included; empty when the mask has no such part.
    QString DatePart(const QString& text, QChar part) const;

private:
    static bool IsInputChar(QChar maskChar);

    QString picture_;
    const TUserData* userData_;
};

} // namespace entryfields
