// Picture fields: entry fields whose text follows a picture mask (PictureMask.h). Typing follows
// the mask: literals are skipped over, a character the mask forbids is refused, Backspace and
// Delete blank positions instead of shifting the text. Written text is laid onto the mask; a
// forbidden character that arrives that way fails validation (oeInvalidCharacter).
//
// A date field is a picture field whose mask holds the parts of a date ("dd", "mm", "yy" or
// "yyyy"); its value is that date, and a text that is no date fails validation (oeInvalidDate).
#pragma once

#include "entryfields/EntryField.h"
#include "entryfields/PictureMask.h"
#include "rtl/DateUtils.h"

#include <optional>

namespace entryfields {

class TPictureField : public TEntryField {
    Q_OBJECT

public:
    TPictureField(TEntryController* controller, QWidget* parent, const QString& pictureMask);

    QString PictureMask() const { return mask_.Picture(); }
    // A new mask; the characters typed so far keep their order in its input positions, and the
    // maximum length becomes its length.
    void SetPictureMask(const QString& pictureMask);
    // The definitions of the substitution characters; not owned, null for none.
    void SetUserData(const TUserData* userData);
    const TPictureMask& Mask() const { return mask_; }

    QString AsString() const override;
    void SetAsString(const QString& text) override;

protected:
    int CheckValue() const override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    // Types the characters at the cursor, each by the mask's rules.
    void TypeText(const QString& text);
    // Blanks the selection, or the input position before the cursor (Backspace) or at it.
    void BlankSelection();
    void BlankBefore();
    void BlankAt();
    void SetMaskedText(const QString& text, int cursor);

    TPictureMask mask_;
    const TUserData* userData_ = nullptr;
};

class TDateField : public TPictureField {
    Q_OBJECT

public:
    TDateField(TEntryController* controller, QWidget* parent, const QString& pictureMask);

    // The date of the text; without a day part the last day of the month; two-digit years fall
    // in the century of today's date. Nothing when the text is no date.
    std::optional<rtl::TDateTime> AsDateTime() const;
    // Writes the date's parts into the mask's positions.
    void SetAsDateTime(rtl::TDateTime date);

protected:
    int CheckValue() const override;
};

} // namespace entryfields
