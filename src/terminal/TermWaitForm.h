// TTermWaitForm: the small window shown while the serial ports are tested; it names the port
// being tried and shows the hourglass.
#pragma once

#include <QWidget>

class QLabel;

namespace terminal {

class TTermWaitForm : public QWidget {
    Q_OBJECT

public:
    explicit TTermWaitForm(QWidget* parent = nullptr);

    // Shows the port number and repaints at once (the test runs without the event loop).
    void ShowPort(int number);

    QLabel* Label1;
    QLabel* ComNrLabel;
};

} // namespace terminal
