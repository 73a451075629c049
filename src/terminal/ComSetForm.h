// TComSetForm: the terminal's settings dialog. It chooses the serial port (among those that
// could be opened when the ports were tested) or a line device, the speed, the modem's
// initialisation and dial strings and the download folder, and works directly on the terminal
// window's components: OK applies the choices, Cancel changes nothing.
#pragma once

#include <QDialog>
#include <array>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace terminal {

class TDirectoryList;
class TDriveComboBox;
class TTermWaitForm;
class TTerminalForm;

class TComSetForm : public QDialog {
    Q_OBJECT

public:
    static constexpr int kPortsTested = 8;
    static constexpr int kMargin = 14;

    explicit TComSetForm(TTerminalForm* terminalForm);

    // Shows the dialog modally: 1 OK, 2 Cancel.
    int Execute();

    // Tests the ports com1 … com8 (the terminal window's port is closed first) and lists those
    // that open, then the line devices.
    void FillPortList();
    // Fills the fields from the terminal window's components.
    void ApplyComponents();
    void BitBtn1Click();
    void SizeBtnClick();
    void DirChange();

    int SerialPortCount() const { return serialPortCount_; }
    bool PortUsable(int number) const { return portUsable_.at(number - 1); }

    QLabel* ComportLabel;
    QComboBox* ComportBox;
    QLabel* BaudLabel;
    QComboBox* BaudBox;
    QLabel* ModemInitLabel;
    QLineEdit* ModemInitStringEdit;
    QLabel* DialStringLabel;
    QLineEdit* DialStringEdit;
    QLabel* DestDirLabel;
    QLineEdit* DestDirEdit;
    QPushButton* SizeBtn;
    QGroupBox* DirBox;
    TDriveComboBox* DriveComboBox1;
    TDirectoryList* DirList;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void FormCreate();
    void FormShow();
    void TestPorts(TTermWaitForm& waitForm);
    void AppendLineDevices();

    TTerminalForm* terminalForm_;
    int serialPortCount_ = 0;
    std::array<bool, kPortsTested> portUsable_{};
};

} // namespace terminal
