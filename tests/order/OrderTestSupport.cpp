#include "OrderTestSupport.h"

#include "entryfields/PictureField.h"

#include <QApplication>
#include <QClipboard>
#include <gtest/gtest.h>

namespace order_test {

void FillCustomer(order::TBestellForm& form) {
    form.KdNrField->SetAsString("4711A");
    form.FirmaField->SetAsString("Muster & Co");
    form.NameField->SetAsString("Eva Muster");
    form.Streetfield->SetAsString("Hauptstraße 1");
    form.PLZField->SetAsString("10115");
    form.VillageField->SetAsString("Berlin");
    form.TelField->SetAsString("030 23125-400");
    form.FaxField->SetAsString("030 23125-401");
    form.EMailField->SetAsString("eva@muster.example");
}

QStringList ClipboardLines() {
    QString text = QApplication::clipboard()->text();
    EXPECT_TRUE(text.endsWith("\r\n"));
    text.chop(2);
    const QStringList lines = text.split("\r\n");
    for (const QString& line : lines)
        EXPECT_FALSE(line.contains(u'\r') || line.contains(u'\n')) << line.toStdString();
    return lines;
}

QString Row(const QString& left, int width, const QString& right) {
    return left.leftJustified(width, u' ') + right;
}

} // namespace order_test
