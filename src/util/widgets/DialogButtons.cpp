#include "util/widgets/DialogButtons.h"

#include "util/widgets/ButtonGlyphs.h"
#include "util/widgets/Controls.h"

#include <QDialog>
#include <QPushButton>

namespace util {

TOkCancelButtons CreateOkCancelButtons(QDialog* dialog, int left, int top) {
    constexpr int kWidth = 88;
    constexpr int kHeight = 28;
    constexpr int kGap = 4;
    auto* ok =
        Placed(new QPushButton(ButtonGlyph(TButtonGlyph::Check), QStringLiteral("OK"), dialog),
               "BitBtn1", left, top, kWidth, kHeight);
    ok->setDefault(true);
    auto* cancel = Placed(
        new QPushButton(ButtonGlyph(TButtonGlyph::Cross), QStringLiteral("Abbrechen"), dialog),
        "BitBtn2", left + kWidth + kGap, top, kWidth, kHeight);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return {ok, cancel};
}

} // namespace util
