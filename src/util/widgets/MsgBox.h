// The program's own modal message box: caption, wrapped message text and one of five button sets.
// The dialog window lives as long as the box and is shown only while Execute runs.
#pragma once

#include <QObject>
#include <QRect>
#include <QString>
#include <memory>

class QDialog;
class QPainter;
class QPushButton;
class QWidget;

namespace util {

enum TMSGButtons { msgOK, msgOKCancel, msgYesNo, msgYesNoCancel, msgYesAllNoCancel };

// Results of the program's modal dialogs.
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;
inline constexpr int mrYes = 6;
inline constexpr int mrNo = 7;
inline constexpr int mrAll = 8;

// Shows a dialog modally: mrOk when it was accepted, mrCancel otherwise.
int ExecuteDialog(QDialog& dialog);

class TMsgBoxForm;

class TMsgBox : public QObject {
    Q_OBJECT

public:
    // The owner frees the box (and with it the dialog window) when it goes.
    explicit TMsgBox(QObject* owner = nullptr);
    ~TMsgBox() override;

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption) { caption_ = caption; }
    QString Msg() const { return msg_; }
    void SetMsg(const QString& msg) { msg_ = msg; }
    TMSGButtons Buttons() const { return buttons_; }
    void SetButtons(TMSGButtons buttons) { buttons_ = buttons; }

    // Lays the box out, shows it modally and returns the result of the button pressed
    // (mrCancel when it is closed through the window frame).
    int Execute();

    // The dialog window and the rectangle the message is painted into (client coordinates).
    QDialog* Form() const;
    QRect TextRect() const { return textRect_; }

private:
    friend class TMsgBoxForm;

    void CreateButtons();
    QPushButton* CreateButton(const char* name, const QString& caption, int result);
    void ArrangeButtons();
    void MeasureText();
    void PaintText(QPainter& painter) const;

    QString caption_;
    QString msg_;
    std::unique_ptr<TMsgBoxForm> form_;
    TMSGButtons buttons_ = msgOK;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QPushButton* YesBtn = nullptr;
    QPushButton* NoBtn = nullptr;
    QPushButton* AllBtn = nullptr;
    QWidget* ButtonPanel = nullptr;
    QRect textRect_;
};

// Creates a box with the caption, message and buttons, executes it and frees it: the result of
// the button pressed.
int ExecuteMsgBox(const QString& caption, const QString& msg, TMSGButtons buttons = msgOK);

// The platform's standard message box (not the program's own) with the text and one "OK" button.
void ShowStandardMessage(QWidget* owner, const QString& caption, const QString& text);

} // namespace util
