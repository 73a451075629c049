// An order form filled in as a customer would, and the order text the clipboard receives.
#pragma once

#include "order/BestellForm.h"

#include <QStringList>

namespace order_test {

// Fills the delivery address with a complete customer.
void FillCustomer(order::TBestellForm& form);

// The clipboard's text cut into its lines; every line must end in CR LF.
QStringList ClipboardLines();

// A text of width characters: left, then blanks, then right.
QString Row(const QString& left, int width, const QString& right);

} // namespace order_test
