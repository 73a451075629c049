// TTapiConfigDialog: the configuration dialog of a network line device: its dialling directory
// as a table of number, host and port, with rows to add and remove. OK stores it (rows without
// number or host, or with a bad port, are refused with a message); Cancel changes nothing.
#pragma once

#include "comms/DialDirectory.h"

#include <QDialog>

class QPushButton;
class QTableWidget;

namespace comms {

class TTapiConfigDialog : public QDialog {
    Q_OBJECT

public:
    TTapiConfigDialog(const QString& device, QWidget* parent = nullptr);

    // The table's rows as entries; nullopt (and a message in ErrorText) when one is bad.
    std::optional<std::vector<TDialEntry>> TableEntries();
    QString ErrorText() const { return errorText_; }

    QTableWidget* DirectoryGrid;
    QPushButton* AddBtn;
    QPushButton* RemoveBtn;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

private:
    void AddRow(const TDialEntry& entry);
    void OKBtnClick();

    TDialDirectory directory_;
    QString errorText_;
};

} // namespace comms
