// TProtocolStatus: the window that shows a running file transfer: file name, size, bytes so far,
// rate, time left, errors and the last error, with a bar and an Abort button. It shows itself
// centred on the screen when a transfer starts and hides when it ends.
#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace comms {

class TProtocol;

class TProtocolStatus : public QWidget {
    Q_OBJECT

public:
    explicit TProtocolStatus(QWidget* parent = nullptr);

    void Start(TProtocol* protocol);
    void Finish(TProtocol* protocol);

    QLabel* FileNameLabel;
    QLabel* FileSizeLabel;
    QLabel* BytesLabel;
    QLabel* RateLabel;
    QLabel* TimeLeftLabel;
    QLabel* ErrorsLabel;
    QLabel* StatusLabel;
    QProgressBar* Gauge;
    QPushButton* AbortBtn;

private:
    void Update(TProtocol* protocol);

    TProtocol* protocol_ = nullptr;
};

} // namespace comms
