#include "comms/TapiConfigDialog.h"

#include "platform/CodePage.h"
#include "util/widgets/Controls.h"
#include "util/widgets/MsgBox.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>

namespace comms {

using util::Placed;

TTapiConfigDialog::TTapiConfigDialog(const QString& device, QWidget* parent)
    : QDialog(parent), directory_(device) {
    setObjectName(QStringLiteral("TapiConfigDialog"));
    setWindowTitle(tr("%1 - W\u00e4hlverzeichnis").arg(device));
    setFixedSize(420, 300);
    DirectoryGrid = Placed(new QTableWidget(0, 3, this), "DirectoryGrid", 12, 12, 396, 230);
    DirectoryGrid->setHorizontalHeaderLabels({tr("Nummer"), tr("Rechner"), tr("Port")});
    DirectoryGrid->horizontalHeader()->setStretchLastSection(true);
    DirectoryGrid->setColumnWidth(0, 130);
    DirectoryGrid->setColumnWidth(1, 170);
    AddBtn = Placed(new QPushButton(tr("&Hinzuf\u00fcgen"), this), "AddBtn", 12, 256, 90, 28);
    RemoveBtn = Placed(new QPushButton(tr("&Entfernen"), this), "RemoveBtn", 108, 256, 90, 28);
    OKBtn = Placed(new QPushButton(tr("OK"), this), "OKBtn", 236, 256, 80, 28);
    CancelBtn = Placed(new QPushButton(tr("Abbrechen"), this), "CancelBtn", 328, 256, 80, 28);
    connect(AddBtn, &QPushButton::clicked, this, [this] {
        AddRow({QString(), QString(), TDialDirectory::kDefaultPort});
    });
    connect(RemoveBtn, &QPushButton::clicked, this, [this] {
        if (DirectoryGrid->currentRow() >= 0)
            DirectoryGrid->removeRow(DirectoryGrid->currentRow());
    });
    connect(OKBtn, &QPushButton::clicked, this, &TTapiConfigDialog::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, [this] { done(util::mrCancel); });
    try {
        directory_.Load();
    } catch (const std::exception&) {
        directory_.SetEntries({});
    }
    for (const TDialEntry& entry : directory_.Entries())
        AddRow(entry);
}

void TTapiConfigDialog::AddRow(const TDialEntry& entry) {
    const int row = DirectoryGrid->rowCount();
    DirectoryGrid->insertRow(row);
    DirectoryGrid->setItem(row, 0, new QTableWidgetItem(entry.number));
    DirectoryGrid->setItem(row, 1, new QTableWidgetItem(entry.host));
    DirectoryGrid->setItem(row, 2, new QTableWidgetItem(QString::number(entry.port)));
}

std::optional<std::vector<TDialEntry>> TTapiConfigDialog::TableEntries() {
    std::vector<TDialEntry> entries;
    for (int row = 0; row < DirectoryGrid->rowCount(); ++row) {
        auto text = [&](int column) {
            const QTableWidgetItem* item = DirectoryGrid->item(row, column);
            return item ? item->text().trimmed() : QString();
        };
        bool ok = false;
        const uint port = text(2).toUInt(&ok);
        if (text(0).isEmpty() || text(1).isEmpty() || !ok || port == 0 || port > 65535) {
            errorText_ = tr("Zeile %1: Nummer, Rechner und ein Port von 1 bis 65535 "
                            "m\u00fcssen angegeben sein.")
                             .arg(row + 1);
            return std::nullopt;
        }
        entries.push_back({text(0), text(1), static_cast<quint16>(port)});
    }
    return entries;
}

void TTapiConfigDialog::OKBtnClick() {
    util::TMsgBox box(this);
    box.SetCaption(windowTitle());
    const auto entries = TableEntries();
    if (!entries) {
        box.SetMsg(errorText_);
        box.Execute();
        return;
    }
    directory_.SetEntries(*entries);
    try {
        directory_.Save();
    } catch (const std::exception& error) {
        box.SetMsg(QString::fromStdString(platform::Ansi1252ToUtf8(error.what())));
        box.Execute();
        return;
    }
    done(util::mrOk);
}

} // namespace comms
