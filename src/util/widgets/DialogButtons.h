// The OK and Cancel kind buttons of a dialog ("BitBtn1", "BitBtn2"): with their pictures, side by
// side, OK the default button. Cancel rejects the dialog; what OK does is the dialog's own.
#pragma once

class QDialog;
class QPushButton;

namespace util {

struct TOkCancelButtons {
    QPushButton* ok;
    QPushButton* cancel;
};

// Both 88 x 28 pixels, 4 apart, the first at left, top.
TOkCancelButtons CreateOkCancelButtons(QDialog* dialog, int left, int top);

} // namespace util
