// The terminal's settings dialog (port test, line devices, apply, directory box) and number
// dialog (mailbox lines, key filter).
#include "comms/ComPort.h"
#include "comms/Modem.h"
#include "comms/Peers.h"
#include "comms/Protocol.h"
#include "comms/TapiDevice.h"
#include "platform/ScopedConfigFolder.h"
#include "support/ModalDialogs.h"
#include "terminal/ComSetForm.h"
#include "terminal/DirectoryList.h"
#include "terminal/MailboxLines.h"
#include "terminal/TelSelForm.h"
#include "terminal/TerminalForm.h"
#include "util/AppSettings.h"
#include "util/RegKey.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <gtest/gtest.h>

using namespace terminal;
using testing_support::ModalAnswers;
using testing_support::ScopedConfigFolder;
using testing_support::TempDir;

namespace {

// Pseudo-terminals as com1 and com3; com2 and com4 … com8 name devices that do not exist.
class PortsOneAndThree {
public:
    PortsOneAndThree() {
        std::string drives;
        for (int n = 1; n <= 8; ++n)
            drives += "com" + std::to_string(n) + " = " + Device(n) + "\n";
        config_.Write("drives", drives + "c: = " + cDrive_.Path().string() + "\n");
    }
    std::string Device(int n) const {
        return n == 1   ? com1_.Slave()
               : n == 3 ? com3_.Slave()
                        : "/nonexistent/ttyV" + std::to_string(n);
    }
    const TempDir& CDrive() const { return cDrive_; }

private:
    ScopedConfigFolder config_;
    TempDir cDrive_;
    comms_test::Pty com1_;
    comms_test::Pty com3_;
};

void Choose(QComboBox* box, const QString& text) {
    const int index = box->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    box->setCurrentIndex(index);
}

} // namespace

TEST(ComSetForm, PortsThatOpenComeFirstThenTheLineDevicesAndOkAppliesByKind) {
    PortsOneAndThree ports;
    TTerminalForm form;
    form.ComPort->SetComNumber(2);
    TComSetForm settings(&form);
    settings.FillPortList();
    EXPECT_EQ(settings.ComportBox->currentIndex(), 0) << "the remembered com2 is not usable";
    EXPECT_EQ(form.ComPort->ComNumber(), 2) << "the port number is set back after the test";
    EXPECT_FALSE(form.ComPort->Open());

    // A line device: speed, modem strings and port number stay as they were.
    Choose(settings.ComportBox, "Telnet");
    Choose(settings.BaudBox, "9600");
    settings.ModemInitStringEdit->setText("AT&F^M");
    settings.DestDirEdit->setText("c:\\DOWNLOAD");
    settings.BitBtn1Click();
    EXPECT_EQ(form.ComPort->TapiMode(), comms::tmOn);
    EXPECT_EQ(form.TapiDevice->SelectedDevice(), "Telnet");
    EXPECT_EQ(form.ComPort->Baud(), 38400);
    EXPECT_EQ(form.ComPort->ComNumber(), 2);
    EXPECT_EQ(form.Modem->InitCmd(), "ATZ^M");
    EXPECT_EQ(form.Protocol->DestinationDirectory(), "c:\\DOWNLOAD");

    // A serial port: all of it is taken.
    Choose(settings.ComportBox, "Com3");
    Choose(settings.BaudBox, "9600");
    settings.ModemInitStringEdit->setText("AT&F^M");
    settings.BitBtn1Click();
    EXPECT_EQ(form.ComPort->TapiMode(), comms::tmOff);
    EXPECT_EQ(form.ComPort->ComNumber(), 3);
    EXPECT_EQ(form.ComPort->Baud(), 9600);
    EXPECT_EQ(form.Modem->InitCmd(), "AT&F^M");

    // In telephony mode the list shows the chosen device.
    form.ComPort->SetTapiMode(comms::tmOn);
    form.TapiDevice->SetSelectedDevice("TCP");
    settings.FillPortList();
    EXPECT_EQ(settings.ComportBox->currentText(), "TCP");
}

TEST(ComSetForm, TheDirectoryBoxWidensTheDialogAndPicksAFolder) {
    PortsOneAndThree ports;
    std::filesystem::create_directory(ports.CDrive().Path() / "Download");
    TTerminalForm form;
    form.Protocol->SetDestinationDirectory("c:\\");
    TComSetForm settings(&form);
    const int narrow = settings.width();
    EXPECT_TRUE(settings.DirBox->isHidden());

    settings.SizeBtn->click();
    EXPECT_FALSE(settings.DirBox->isHidden());
    EXPECT_GT(settings.width(), narrow);
    EXPECT_EQ(settings.DestDirEdit->text(), "c:\\");
    ASSERT_EQ(settings.DirList->count(), 2);
    EXPECT_EQ(settings.DirList->item(1)->text().trimmed(), "Download");
    emit settings.DirList->itemActivated(settings.DirList->item(1));
    EXPECT_EQ(settings.DestDirEdit->text(), "c:\\Download");

    settings.SizeBtn->click();
    EXPECT_TRUE(settings.DirBox->isHidden());
    EXPECT_EQ(settings.width(), narrow);
}

TEST(ComSetForm, ChoosingAnotherPortReopensTheTerminalOnIt) {
    PortsOneAndThree ports;
    TempDir downloads;
    {
        util::TRegKey key(platform::HKEY_LOCAL_MACHINE, util::kSettingsKeyPath, false);
        key.WriteInteger("FirstStart", 0);
        key.WriteString("ZModemDestinationDir", downloads.Path().string());
    }
    TTerminalForm form;
    form.show();
    ASSERT_TRUE(form.ComPort->Open());
    EXPECT_EQ(form.ComPort->DeviceName().toStdString(), ports.Device(1));

    ModalAnswers answers;
    answers.Then([](QWidget& dialog) {
        auto& settings = static_cast<TComSetForm&>(dialog);
        Choose(settings.ComportBox, "Com3");
        settings.BitBtn1->click();
    });
    form.SBSettingsBtn->click();
    EXPECT_EQ(answers.Pending(), 0);
    ASSERT_TRUE(form.ComPort->Open());
    EXPECT_EQ(form.ComPort->DeviceName().toStdString(), ports.Device(3));
    EXPECT_FALSE(form.SBTAPIBtn->isEnabled()) << "serial mode";
}

TEST(TelSelForm, OffersTheMailboxLinesAndTakesOnlyDialCharacters) {
    TTelSelForm dialog;
    EXPECT_EQ(dialog.TelNumField->text(), kMailboxLines[0].number);
    dialog.BBSLinesBox->setCurrentIndex(2);
    emit dialog.BBSLinesBox->activated(2);
    EXPECT_EQ(dialog.TelNumField->text(), kMailboxLines[2].number);

    dialog.TelNumField->clear();
    QTest::keyClicks(dialog.TelNumField, "0a1 B*#,-9");
    EXPECT_EQ(dialog.TelNumField->text(), "01*#,9");
    QTest::keyClick(dialog.TelNumField, Qt::Key_Backspace);
    QTest::keyClick(dialog.TelNumField, Qt::Key_Left);
    QTest::keyClick(dialog.TelNumField, Qt::Key_Delete);
    EXPECT_EQ(dialog.TelNumField->text(), "01*#") << "editing keys still work";
}

TEST(MailboxLines, TheDemoDirectoryLeadsEveryLineToTheDemoMailboxAndKeepsTheUsersOwn) {
    ScopedConfigFolder config;
    ProvideDemoDirectory();
    comms::TDialDirectory directory(kDemoMailboxDevice);
    directory.Load();
    for (const TMailboxLine& line : kMailboxLines) {
        const auto entry = directory.Lookup(line.number);
        ASSERT_TRUE(entry) << line.number;
        EXPECT_EQ(entry->host, kDemoMailboxHost);
        EXPECT_EQ(entry->port, kDemoMailboxPort);
    }
    directory.SetEntries({});
    directory.Save();
    ProvideDemoDirectory();
    directory.Load();
    EXPECT_TRUE(directory.Entries().empty());
}
