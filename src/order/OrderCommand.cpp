#include "order/OrderCommand.h"

#include "browser/MainWindow.h"
#include "order/BestellForm.h"

#include <QToolButton>

namespace order {

void ConnectOrderCommand(browser::TPandexCDMain& mainWindow) {
    QObject::connect(mainWindow.SBOrderBtn, &QToolButton::clicked, &mainWindow,
                     [&mainWindow] { SBOrderBtnClick(&mainWindow); });
}

void SBOrderBtnClick(QWidget* parent) {
    TBestellForm form(parent);
    form.Execute();
}

} // namespace order
