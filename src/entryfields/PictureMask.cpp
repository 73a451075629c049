#include "entryfields/PictureMask.h"

#include <algorithm>

namespace entryfields {

namespace {

constexpr QChar kBlank = u' ';

bool IsSubstChar(QChar ch) {
    return ch.unicode() >= kFirstSubstChar && ch.unicode() < kFirstSubstChar + kSubstCharCount;
}

bool IsDatePartChar(QChar maskChar) {
    return maskChar == u'd' || maskChar == u'm' || maskChar == u'y';
}

} // namespace

void TUserData::SetSubstChar(QChar substitution, QChar literal) {
    if (IsSubstChar(substitution))
        literals_[substitution.unicode() - kFirstSubstChar] = literal;
}

QChar TUserData::LiteralFor(QChar substitution) const {
    if (!IsSubstChar(substitution))
        return substitution;
    const QChar literal = literals_[substitution.unicode() - kFirstSubstChar];
    return literal.isNull() ? substitution : literal;
}

TPictureMask::TPictureMask(QString picture, const TUserData* userData)
    : picture_(std::move(picture)), userData_(userData) {}

bool TPictureMask::IsInputChar(QChar maskChar) {
    return maskChar == u'9' || maskChar == u'X' || IsDatePartChar(maskChar);
}

bool TPictureMask::IsInputPos(int pos) const {
    return pos >= 0 && pos < Length() && IsInputChar(picture_[pos]);
}

QChar TPictureMask::LiteralAt(int pos) const {
    const QChar maskChar = picture_[pos];
    return userData_ != nullptr ? userData_->LiteralFor(maskChar) : maskChar;
}

bool TPictureMask::Accepts(int pos, QChar ch) const {
    if (!IsInputPos(pos))
        return false;
    if (picture_[pos] == u'X')
        return true;
    return ch == kBlank || (ch >= u'0' && ch <= u'9');
}

int TPictureMask::NextInputPos(int from) const {
    int pos = std::max(from, 0);
    while (pos < Length() && !IsInputPos(pos))
        ++pos;
    return pos;
}

int TPictureMask::PrevInputPos(int before) const {
    int pos = std::min(before, Length()) - 1;
    while (pos >= 0 && !IsInputPos(pos))
        --pos;
    return pos;
}

QString TPictureMask::EmptyText() const {
    return Fit(QString());
}

QString TPictureMask::Fit(const QString& text) const {
    QString fitted;
    fitted.reserve(Length());
    qsizetype next = 0;
    for (int pos = 0; pos < Length(); ++pos) {
        if (IsInputPos(pos)) {
            fitted += next < text.size() ? text[next++] : kBlank;
        } else {
            fitted += LiteralAt(pos);
            if (next < text.size() && text[next] == LiteralAt(pos))
                ++next;
        }
    }
    return fitted;
}

QString TPictureMask::InputsOf(const QString& text) const {
    const QString fitted = Fit(text);
    QString inputs;
    for (int pos = 0; pos < Length(); ++pos) {
        if (IsInputPos(pos))
            inputs += fitted[pos];
    }
    return inputs;
}

QString TPictureMask::WithInputs(const QString& inputs) const {
    QString text = EmptyText();
    qsizetype next = 0;
    for (int pos = 0; pos < Length() && next < inputs.size(); ++pos) {
        if (IsInputPos(pos))
            text[pos] = inputs[next++];
    }
    return text;
}

int TPictureMask::FirstForbidden(const QString& text) const {
    const QString fitted = Fit(text);
    for (int pos = 0; pos < Length(); ++pos) {
        if (IsInputPos(pos) && !Accepts(pos, fitted[pos]))
            return pos;
    }
    return -1;
}

QString TPictureMask::DatePart(const QString& text, QChar part) const {
    const QString fitted = Fit(text);
    QString chars;
    for (int pos = 0; pos < Length(); ++pos) {
        if (picture_[pos] == part)
            chars += fitted[pos];
    }
    return chars;
}

} // namespace entryfields
