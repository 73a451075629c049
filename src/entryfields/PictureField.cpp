#include "entryfields/PictureField.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QValidator>

namespace entryfields {

namespace {

constexpr QChar kBlank = u' ';

// Guards the edits the field does not type itself (the context menu's paste, a drop): a text
// that no longer fits the mask is refused.
class TMaskValidator : public QValidator {
public:
    TMaskValidator(const TPictureMask& mask, QObject* parent) : QValidator(parent), mask_(mask) {}

    State validate(QString& input, int&) const override {
        return input.size() == mask_.Length() && mask_.Fit(input) == input ? Acceptable : Invalid;
    }

private:
    const TPictureMask& mask_;
};

bool IsTyping(const QKeyEvent& event) {
    const QString text = event.text();
    const Qt::KeyboardModifiers commands =
        event.modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
    return !text.isEmpty() && text[0].isPrint() && commands == Qt::NoModifier;
}

int DigitsValue(const QString& digits) {
    int value = 0;
    for (QChar ch : digits) {
        if (ch < u'0' || ch > u'9')
            return -1;
        value = value * 10 + (ch.unicode() - u'0');
    }
    return value;
}

int LastDayOfMonth(int year, int month) {
    int day = 31;
    while (day > 28 && !rtl::IsValidDate(year, month, day))
        --day;
    return day;
}

} // namespace

TPictureField::TPictureField(TEntryController* controller, QWidget* parent,
                             const QString& pictureMask)
    : TEntryField(controller, parent) {
    setValidator(new TMaskValidator(mask_, this));
    SetPictureMask(pictureMask);
}

void TPictureField::SetPictureMask(const QString& pictureMask) {
    const QString inputs = mask_.InputsOf(text());
    mask_ = TPictureMask(pictureMask, userData_);
    setMaxLength(std::max(mask_.Length(), 1));
    SetMaskedText(mask_.WithInputs(inputs), 0);
}

void TPictureField::SetUserData(const TUserData* userData) {
    userData_ = userData;
    SetPictureMask(mask_.Picture());
}

QString TPictureField::AsString() const {
    const QString fitted = mask_.Fit(text());
    return BlanksKept() ? fitted : fitted.trimmed();
}

void TPictureField::SetAsString(const QString& text) {
    SetMaskedText(mask_.Fit(text), 0);
}

int TPictureField::CheckValue() const {
    return mask_.FirstForbidden(text()) >= 0 ? oeInvalidCharacter : oeNoError;
}

void TPictureField::SetMaskedText(const QString& text, int cursor) {
    setText(text);
    setCursorPosition(cursor);
}

void TPictureField::TypeText(const QString& typed) {
    if (hasSelectedText())
        BlankSelection();
    QString masked = mask_.Fit(text());
    int cursor = cursorPosition();
    for (QChar ch : typed) {
        if (cursor < mask_.Length() && !mask_.IsInputPos(cursor) && ch == mask_.LiteralAt(cursor)) {
            cursor = mask_.NextInputPos(cursor + 1);
            continue;
        }
        const int pos = mask_.NextInputPos(cursor);
        if (pos >= mask_.Length())
            break;
        if (!mask_.Accepts(pos, ch))
            continue;
        masked[pos] = ch;
        cursor = mask_.NextInputPos(pos + 1);
    }
    SetMaskedText(masked, cursor);
}

void TPictureField::BlankSelection() {
    const int start = selectionStart();
    const int end = start + static_cast<int>(selectedText().size());
    QString masked = mask_.Fit(text());
    for (int pos = start; pos < end; ++pos) {
        if (mask_.IsInputPos(pos))
            masked[pos] = kBlank;
    }
    SetMaskedText(masked, start);
}

void TPictureField::BlankBefore() {
    const int pos = mask_.PrevInputPos(cursorPosition());
    if (pos < 0)
        return;
    QString masked = mask_.Fit(text());
    masked[pos] = kBlank;
    SetMaskedText(masked, pos);
}

void TPictureField::BlankAt() {
    const int pos = mask_.NextInputPos(cursorPosition());
    if (pos >= mask_.Length())
        return;
    QString masked = mask_.Fit(text());
    masked[pos] = kBlank;
    SetMaskedText(masked, cursorPosition());
}

void TPictureField::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        TypeText(QApplication::clipboard()->text());
    } else if (event->matches(QKeySequence::Cut)) {
        copy();
        BlankSelection();
    } else if (event->key() == Qt::Key_Backspace) {
        hasSelectedText() ? BlankSelection() : BlankBefore();
    } else if (event->key() == Qt::Key_Delete) {
        hasSelectedText() ? BlankSelection() : BlankAt();
    } else if (IsTyping(*event)) {
        TypeText(event->text());
    } else {
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TPictureField::inputMethodEvent(QInputMethodEvent* event) {
    if (!event->commitString().isEmpty())
        TypeText(event->commitString());
    event->accept();
}

TDateField::TDateField(TEntryController* controller, QWidget* parent, const QString& pictureMask)
    : TPictureField(controller, parent, pictureMask) {}

std::optional<rtl::TDateTime> TDateField::AsDateTime() const {
    const QString text = this->text();
    const QString dayDigits = Mask().DatePart(text, u'd');
    const QString monthDigits = Mask().DatePart(text, u'm');
    const QString yearDigits = Mask().DatePart(text, u'y');
    const int month = DigitsValue(monthDigits);
    int year = yearDigits.isEmpty() ? rtl::CurrentYear() : DigitsValue(yearDigits);
    if (monthDigits.isEmpty() || month < 1 || month > 12 || year < 0)
        return std::nullopt;
    if (yearDigits.size() <= 2 && !yearDigits.isEmpty())
        year += rtl::CurrentYear() / 100 * 100;
    int day = dayDigits.isEmpty() ? LastDayOfMonth(year, month) : DigitsValue(dayDigits);
    if (!rtl::IsValidDate(year, month, day))
        return std::nullopt;
    return rtl::EncodeDate(year, month, day);
}

void TDateField::SetAsDateTime(rtl::TDateTime date) {
    const rtl::DateParts parts = rtl::DecodeDate(date);
    const auto digits = [](int value, int width) {
        return QString::number(value).rightJustified(width, u'0').right(width);
    };
    QString masked = Mask().Fit(text());
    const QString picture = PictureMask();
    for (const auto& [part, value] :
         {std::pair{u'd', parts.day}, std::pair{u'm', parts.month}, std::pair{u'y', parts.year}}) {
        const int width = static_cast<int>(picture.count(QChar(part)));
        const QString partDigits = digits(value, width);
        for (int pos = 0, next = 0; pos < Mask().Length(); ++pos) {
            if (picture[pos] == part)
                masked[pos] = partDigits[next++];
        }
    }
    SetAsString(masked);
}

int TDateField::CheckValue() const {
    const int errorCode = TPictureField::CheckValue();
    if (errorCode != oeNoError)
        return errorCode;
    return AsDateTime() ? oeNoError : oeInvalidDate;
}

} // namespace entryfields
