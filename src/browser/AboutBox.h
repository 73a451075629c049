// TCDAboutBox: the about box with the product's name, version and the maker's notice. Alt+I on
// its OK button opens the logo slide show (TLogoForm) when both of its pictures can be read.
#pragma once

#include <QDialog>
#include <QString>

class QFrame;
class QLabel;
class QPushButton;

namespace browser {

class TCDAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TCDAboutBox(QWidget* parent = nullptr);

    // The native folder with the slide show's pictures; the program's data folder by default.
    void SetDataDir(const QString& dataDir) { dataDir_ = dataDir; }

    // Alt+I opens the slide show and sets key to 0 (handled); other keys stay with the button.
    void OKButtonKeyDown(int& key, Qt::KeyboardModifiers shift);

    QFrame* Panel;
    QLabel* ProgramIcon;
    QLabel* Label1;
    QLabel* ProductName;
    QLabel* Label9;
    QLabel* Label10;
    QLabel* Version;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QPushButton* OKButton;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* CreateLabel(const char* name, const QString& text, const QFont& font, QPoint at);

    QString dataDir_;
};

} // namespace browser
