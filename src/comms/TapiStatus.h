// TTapiStatus: the small window that shows how a call over a line device goes ("Wähle …",
// "Verbunden", the reason of a failure). It shows itself centred when a dial starts and hides
// when the call is connected or has failed.
#pragma once

#include <QWidget>

class QLabel;

namespace comms {

class TTapiStatus : public QWidget {
    Q_OBJECT

public:
    explicit TTapiStatus(QWidget* parent = nullptr);

    void Start(const QString& caption);
    void ShowText(const QString& text);
    void Finish();

    QLabel* StatusLabel;
};

} // namespace comms
