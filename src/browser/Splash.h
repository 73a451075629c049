// TCDSplash: the window shown while the program creates its windows and opens the catalogue. The
// hourglass cursor is active exactly as long as it exists.
#pragma once

#include <QWidget>

class QFrame;
class QLabel;

namespace browser {

class TCDSplash : public QWidget {
    Q_OBJECT

public:
    explicit TCDSplash(QWidget* parent = nullptr);
    ~TCDSplash() override;

    QFrame* Panel;
    QLabel* Image;
    QFrame* Bevel1;
    QLabel* Label2;
    QLabel* Label1;

private:
    void FormCreate();
    void FormDestroy();
};

} // namespace browser
