// The terminal window: its registry values, the first start, a port that cannot be opened, and
// whole calls through the real peers (the modem emulator on a pseudo-terminal mapped as com1, and
// the "Telnet" line device) into the mailbox, which sends files with sz.
#include "terminal/TerminalForm.h"

#include "browser/MainWindow.h"
#include "comms/DialDirectory.h"
#include "comms/Modem.h"
#include "comms/Peers.h"
#include "comms/ProtocolStatus.h"
#include "comms/TapiDevice.h"
#include "comms/Terminal.h"
#include "comms/TerminalEmulator.h"
#include "platform/ScopedConfigFolder.h"
#include "support/ModalDialogs.h"
#include "terminal/ComSetForm.h"
#include "terminal/MailboxLines.h"
#include "terminal/StatusLight.h"
#include "terminal/TelSelForm.h"
#include "terminal/TerminalCommand.h"
#include "util/AppSettings.h"
#include "util/RegKey.h"

#include <QAction>
#include <QComboBox>
#include <QFontDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <gtest/gtest.h>

using namespace terminal;
using comms_test::Mailbox;
using comms_test::ModemEmulator;
using comms_test::Pty;
using comms_test::Pump;
using comms_test::PumpUntil;
using testing_support::ModalAnswers;
using testing_support::ReadFileBytes;
using testing_support::ScopedConfigFolder;
using testing_support::TempDir;

namespace {

util::TRegKey SettingsKey() {
    return util::TRegKey(platform::HKEY_LOCAL_MACHINE, util::kSettingsKeyPath, false);
}

bool SettingsKeyExists() {
    return util::TRegKey(platform::HKEY_LOCAL_MACHINE, util::kSettingsKeyPath, true).LastResult() ==
           0;
}

std::string ScreenText(const TTerminalForm& form) {
    std::string text;
    const comms::TerminalScreen& screen = form.TerminalEmulator->Screen();
    for (int row = 0; row < screen.Rows(); ++row)
        text += screen.RowText(row) + "\n";
    return text;
}

bool Online(const TTerminalForm& form) {
    return form.DCDLight->Lit();
}

// Dials the first mailbox line: the number dialog is confirmed as it comes.
void Dial(TTerminalForm& form) {
    ModalAnswers answers;
    answers.ThenPress("BitBtn1");
    form.SBDialBtn->click();
    EXPECT_EQ(answers.Pending(), 0);
}

// Types "d" into the terminal, as the mailbox's menu asks, and waits until the download it
// starts is over. Records whether the terminal was inactive and the status window shown during
// the transfer.
struct Download {
    Download(TTerminalForm& form, const std::filesystem::path& expectedFile) {
        auto watch = QObject::connect(form.Protocol, &comms::TProtocol::ProtocolStatus, [&] {
            terminalWasInactive = terminalWasInactive || !form.Terminal->Active();
            statusWasShown = statusWasShown || form.ProtocolStatus->isVisible();
        });
        QTest::keyClicks(form.Terminal, QStringLiteral("d"));
        done = PumpUntil(
            [&] {
                return std::filesystem::exists(expectedFile) && !form.Protocol->InProgress() &&
                       form.Terminal->Active();
            },
            60000);
        QObject::disconnect(watch);
    }
    bool done = false;
    bool terminalWasInactive = false;
    bool statusWasShown = false;
};

// The terminal settings of a user who has been here before: serial port com1, downloads into a
// folder of the test.
class SeenUser : public testing::Test {
protected:
    SeenUser() {
        util::TRegKey key = SettingsKey();
        key.WriteInteger("FirstStart", 0);
        key.WriteString("ZModemDestinationDir", Destination());
        key.WriteInteger("ComNumber", 1);
    }
    std::string Destination() const { return downloads_.Path().string(); }
    std::filesystem::path Downloaded(const char* name) const { return downloads_.Path() / name; }

    ScopedConfigFolder config_;
    TempDir downloads_;
};

// The mailbox with two files to send.
class MailboxCall : public SeenUser {
protected:
    void SetUp() override {
        ASSERT_TRUE(mailbox_ && mailbox_->Ready());
        mailbox_->Folder().Write("KOMP.ZIP", std::string(70000, '\x18') + "\xff\x00 end");
        mailbox_->Folder().Write("LIESMICH.TXT", "Willkommen\r\n");
    }
    void ClearDownloads() const {
        std::filesystem::remove(Downloaded("KOMP.ZIP"));
        std::filesystem::remove(Downloaded("LIESMICH.TXT"));
    }
    // Types "d" and checks that both files arrived whole, the terminal rested meanwhile, and
    // it is active again with a new ZModem trigger.
    void ExpectDownload(TTerminalForm& form) {
        const Download download(form, Downloaded("LIESMICH.TXT"));
        ASSERT_TRUE(download.done) << ScreenText(form);
        EXPECT_EQ(ReadFileBytes(Downloaded("KOMP.ZIP").string()),
                  ReadFileBytes(mailbox_->Folder().File("KOMP.ZIP")));
        EXPECT_EQ(ReadFileBytes(Downloaded("LIESMICH.TXT").string()), "Willkommen\r\n");
        EXPECT_TRUE(download.terminalWasInactive);
        EXPECT_TRUE(download.statusWasShown);
        EXPECT_NE(form.ZModemTrigger(), 0);
    }

    std::unique_ptr<Mailbox> mailbox_ =
        std::make_unique<Mailbox>(std::vector<std::string>{"KOMP.ZIP", "LIESMICH.TXT"});
};

class ModemCall : public MailboxCall {
protected:
    void SetUp() override {
        MailboxCall::SetUp();
        ASSERT_TRUE(modem_.Ready());
        config_.Write("drives", "com1 = " + modem_.Device() + "\n");
    }
    // Shows the window (which opens com1 and initialises the modem) and dials.
    void ShowAndDial(TTerminalForm& form) {
        form.show();
        ASSERT_TRUE(form.ComPort->Open());
        Dial(form);
        ASSERT_TRUE(PumpUntil([&] { return Online(form); }));
        ASSERT_TRUE(PumpUntil([&] {
            return ScreenText(form).find("Willkommen in der Kestrova-Mailbox!") !=
                   std::string::npos;
        }));
    }

    ModemEmulator modem_{*mailbox_};
};

} // namespace

TEST(TerminalForm, StoredSettingsAreReadInOrderAndAReadErrorKeepsWhatWasReadBefore) {
    ScopedConfigFolder config;
    {
        util::TRegKey key = SettingsKey();
        key.WriteInteger("FirstStart", 0);
        key.WriteString("FontName", "DejaVu Sans Mono");
        key.WriteInteger("FontSize", 12);
        key.WriteString("FontStyle", "FSitalic");
        key.WriteString("ZModemDestinationDir", "c:\\DOWNLOAD");
        key.WriteString("TAPIMode", "TmOfF");
        key.WriteString("TAPIDevice", "Telnet");
        key.WriteInteger("ComNumber", 3);
        key.WriteInteger("BaudRate", 57600);
        key.WriteString("ModemInitString", "AT&F^M");
        key.WriteString("ModemDialString", "ATDP");
    }
    TTerminalForm form;
    form.LoadSettings();
    EXPECT_FALSE(form.FirstStart());
    EXPECT_EQ(form.Terminal->TerminalFont().family(), "DejaVu Sans Mono");
    EXPECT_EQ(form.Terminal->TerminalFont().pointSize(), 12);
    EXPECT_TRUE(form.Terminal->TerminalFont().italic());
    EXPECT_FALSE(form.Terminal->TerminalFont().bold());
    EXPECT_EQ(form.Protocol->DestinationDirectory(), "c:\\DOWNLOAD");
    EXPECT_EQ(form.ComPort->TapiMode(), comms::tmOff);
    EXPECT_EQ(form.TapiDevice->SelectedDevice(), "Telnet");
    EXPECT_EQ(form.ComPort->ComNumber(), 3);
    EXPECT_EQ(form.ComPort->Baud(), 57600);
    EXPECT_EQ(form.Modem->InitCmd(), "AT&F^M");
    EXPECT_EQ(form.Modem->DialCmd(), "ATDP");

    {
        util::TRegKey key = SettingsKey();
        key.WriteInteger("FontSize", 100000);
        key.WriteString("TAPIMode", "");
        key.WriteInteger("ComNumber", 5);
        // One character beyond the read limit of 256: a read error.
        key.WriteString("ModemInitString", std::string(257, 'A'));
        key.WriteString("ModemDialString", "ATDT");
    }
    form.LoadSettings();
    EXPECT_EQ(form.Terminal->TerminalFont().pointSize(), 72) << "a damaged size is bounded";
    EXPECT_EQ(form.ComPort->TapiMode(), comms::tmOn) << "an empty text means telephony";
    EXPECT_EQ(form.ComPort->ComNumber(), 5) << "read before the error";
    EXPECT_EQ(form.Modem->InitCmd(), "AT&F^M") << "the failed value keeps the old one";
    EXPECT_EQ(form.Modem->DialCmd(), "ATDP") << "values after the error are not read";

    form.Terminal->SetTerminalFont(QFont("DejaVu Sans Mono", 10, QFont::Bold, true));
    form.SaveSettings();
    util::TRegKey key = SettingsKey();
    EXPECT_EQ(key.ReadString("FontStyle", "", 30), "fsBoldfsItalic");
    EXPECT_EQ(key.ReadString("TAPIMode", "", 10), "tmOn");
    EXPECT_EQ(key.ReadInteger("FontSize", 0), 10);
}

TEST(TerminalForm, FirstStartTestsThePortsAndAsksForTheSettingsBeforeOpeningOne) {
    ScopedConfigFolder config;
    Pty com2;
    Pty com3;
    std::string drives;
    for (int n = 1; n <= 8; ++n) {
        const std::string device = n == 2   ? com2.Slave()
                                   : n == 3 ? com3.Slave()
                                            : "/nonexistent/ttyV" + std::to_string(n);
        drives += "com" + std::to_string(n) + " = " + device + "\n";
    }
    config.Write("drives", drives);
    ASSERT_FALSE(SettingsKeyExists());

    TTerminalForm form;
    ModalAnswers answers;
    bool portWasClosed = false;
    QStringList entries;
    answers.Then([&](QWidget& dialog) {
        auto& settings = static_cast<TComSetForm&>(dialog);
        portWasClosed = !form.ComPort->Open();
        for (int i = 0; i < settings.ComportBox->count(); ++i)
            entries << settings.ComportBox->itemText(i);
        EXPECT_EQ(settings.SerialPortCount(), 2);
        EXPECT_EQ(settings.ComportBox->currentText(), "Com2") << "com1 (remembered) is unusable";
        EXPECT_EQ(settings.BaudBox->currentText(), "38400");
        settings.BitBtn1->click();
    });
    form.show();
    EXPECT_EQ(answers.Pending(), 0);
    EXPECT_TRUE(portWasClosed);
    EXPECT_EQ(entries, QStringList({"Com2", "Com3", "Telnet", "TCP"}));
    EXPECT_EQ(form.ComPort->ComNumber(), 2);
    ASSERT_TRUE(form.ComPort->Open());
    EXPECT_EQ(form.ComPort->DeviceName().toStdString(), com2.Slave());
    EXPECT_TRUE(PumpUntil([&] { return com2.Received() == "ATZ\r"; }, 5000)) << com2.Received();
    EXPECT_TRUE(form.Terminal->Active());

    form.close();
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(form.ComPort->Open()) << "closing the window keeps the port";
    EXPECT_EQ(SettingsKey().ReadInteger("FirstStart", 1), 0);
    EXPECT_EQ(SettingsKey().ReadInteger("ComNumber", 0), 2);

    // The next show asks nothing.
    form.show();
    EXPECT_FALSE(form.FirstStart());
}

TEST_F(SeenUser, APortThatCannotBeOpenedIsReportedWithItsReason) {
    config_.Write("drives", "com1 = /nonexistent/ttyUSB9\n");
    TTerminalForm form;
    ModalAnswers answers;
    answers.ThenOk();
    form.show();
    ASSERT_EQ(answers.Shown().size(), 1u);
    EXPECT_EQ(answers.Shown()[0].text,
              "Konnte ComPort nicht öffnen!\n/nonexistent/ttyUSB9 gibt es nicht");
    EXPECT_FALSE(form.ComPort->Open());

    // Dialling tries the port again and stops at the same message.
    answers.ThenOk();
    form.SBDialBtn->click();
    ASSERT_EQ(answers.Shown().size(), 2u);
    EXPECT_EQ(answers.Shown()[1].text, answers.Shown()[0].text);
}

TEST_F(ModemCall, DownloadsStartByThemselvesInEveryCall) {
    TTerminalForm form;
    ShowAndDial(form);
    for (QToolButton* button : {form.SBDialBtn, form.SBSettingsBtn, form.SBModemInitBtn})
        EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
    for (QAction* item : {form.MTDial, form.MTSettings, form.MTModemInit})
        EXPECT_FALSE(item->isEnabled()) << item->objectName().toStdString();
    EXPECT_TRUE(form.SBHangUpBtn->isEnabled());

    ExpectDownload(form);
    ClearDownloads();
    ExpectDownload(form);

    form.SBHangUpBtn->click();
    ASSERT_TRUE(PumpUntil([&] { return !Online(form); }, 15000));
    EXPECT_EQ(form.ZModemTrigger(), 0);
    EXPECT_TRUE(form.ComPort->Open());
    EXPECT_TRUE(form.SBDialBtn->isEnabled());

    // A second call on the port that stayed open downloads again.
    ClearDownloads();
    Dial(form);
    ASSERT_TRUE(PumpUntil([&] { return Online(form); }));
    ExpectDownload(form);
}

TEST_F(ModemCall, QuittingWhileOnlineAsksWhetherToHangUp) {
    TTerminalForm form;
    ShowAndDial(form);
    ModalAnswers answers;

    answers.ThenPress("CancelBtn");
    form.SBQuitBtn->click();
    ASSERT_EQ(answers.Shown().size(), 1u);
    EXPECT_EQ(answers.Shown()[0].title, "Verbindung steht noch!");
    EXPECT_EQ(answers.Shown()[0].text, "Soll die Verbindung getrennt werden?");
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(Online(form));

    answers.ThenPress("NoBtn");
    form.SBQuitBtn->click();
    EXPECT_FALSE(form.isVisible());
    Pump(500);
    EXPECT_TRUE(Online(form)) << "the call goes on while the window is hidden";
    EXPECT_TRUE(form.ComPort->DCD());

    form.show();
    answers.ThenPress("YesBtn");
    form.SBQuitBtn->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(Online(form));
    // The modem hangs up (it answers NO CARRIER) before the port closes.
    ASSERT_TRUE(PumpUntil([&] { return !form.ComPort->Open(); }, 15000));
    EXPECT_NE(ScreenText(form).find("NO CARRIER"), std::string::npos) << ScreenText(form);

    answers.ThenOk();
    form.show();
    EXPECT_EQ(answers.Pending(), 1) << "nothing to ask: the port opens again";
    EXPECT_TRUE(form.ComPort->Open());
}

TEST_F(SeenUser, TheSameCallOverTheTelnetLine) {
    Mailbox mailbox({"KOMP.ZIP"}, {"--telnet"});
    ASSERT_TRUE(mailbox.Ready());
    const std::string payload = std::string(5000, '\xff') + std::string(5000, '\x18');
    mailbox.Folder().Write("KOMP.ZIP", payload);
    SettingsKey().WriteString("TAPIMode", "tmOn");
    SettingsKey().WriteString("TAPIDevice", "Telnet");
    comms::TDialDirectory directory("Telnet");
    directory.SetEntries(
        {{kMailboxLines[0].number, "127.0.0.1", static_cast<quint16>(mailbox.Port())}});
    directory.Save();

    TTerminalForm form;
    form.show();
    ASSERT_TRUE(form.ComPort->Open()) << "the line is open for direct use";
    EXPECT_FALSE(Online(form));
    Dial(form);
    ASSERT_TRUE(PumpUntil([&] { return Online(form); }));
    EXPECT_FALSE(form.DialPending());
    ASSERT_TRUE(PumpUntil([&] {
        return ScreenText(form).find("Willkommen in der Kestrova-Mailbox!") != std::string::npos;
    }));
    const Download download(form, Downloaded("KOMP.ZIP"));
    ASSERT_TRUE(download.done) << ScreenText(form);
    EXPECT_EQ(ReadFileBytes(Downloaded("KOMP.ZIP").string()), payload);

    ModalAnswers answers;
    answers.ThenPress("YesBtn");
    form.SBQuitBtn->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(Online(form));
    EXPECT_FALSE(form.ComPort->Open());
}

TEST_F(SeenUser, OfflineQuitClosesAtOnceWithoutAQuestion) {
    TTerminalForm form;
    Pty com1;
    config_.Write("drives", "com1 = " + com1.Slave() + "\n");
    form.show();
    ModalAnswers answers;
    answers.ThenOk();
    form.MTClose->trigger();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(answers.Pending(), 1);
}

TEST_F(SeenUser, TheTerminalWindowIsCreatedOnFirstUseAndKept) {
    Pty com1;
    config_.Write("drives", "com1 = " + com1.Slave() + "\n");
    TempDir programFolder;
    browser::TMainWindowSetup setup;
    setup.programFolder = programFolder.Path().string();
    setup.showMessage = [](const QString&, const QString&) {};
    setup.watchSelection = false;
    browser::TPandexCDMain window(setup);
    ConnectTerminalCommand(window);
    EXPECT_EQ(window.findChild<TTerminalForm*>(), nullptr);

    window.SBTerminalBtn->click();
    auto* form = window.findChild<TTerminalForm*>();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->Terminal->Active());
    form->close();

    window.MITerminal->trigger();
    EXPECT_EQ(window.findChildren<TTerminalForm*>().size(), 1);
    EXPECT_TRUE(form->isVisible());
}

TEST(TerminalForm, TheChosenFontIsStoredAndTheWindowFitsTheTerminal) {
    ScopedConfigFolder config;
    TTerminalForm form;
    EXPECT_TRUE(form.FontDialog->testOption(QFontDialog::MonospacedFonts));
    ModalAnswers answers;
    answers.Then([](QWidget& dialog) {
        auto& fonts = static_cast<QFontDialog&>(dialog);
        fonts.setCurrentFont(QFont("DejaVu Sans Mono", 14, QFont::Bold));
        fonts.accept();
    });
    form.SBFontSelBtn->click();
    EXPECT_EQ(answers.Pending(), 0);
    EXPECT_EQ(form.Terminal->TerminalFont().family(), "DejaVu Sans Mono");
    EXPECT_EQ(form.Terminal->DisplayColumns(), 80);
    util::TRegKey key = SettingsKey();
    EXPECT_EQ(key.ReadString("FontName", "", 50), "DejaVu Sans Mono");
    EXPECT_EQ(key.ReadInteger("FontSize", 0), 14);
    EXPECT_EQ(key.ReadString("FontStyle", "", 30), "fsBold");
}

TEST_F(SeenUser, AFailedLineDialLeavesTheLineOpenForDirectUse) {
    SettingsKey().WriteString("TAPIMode", "tmOn");
    SettingsKey().WriteString("TAPIDevice", "TCP");
    TTerminalForm form;
    form.show();
    ASSERT_TRUE(form.ComPort->Open());
    ModalAnswers answers;
    answers.Then([](QWidget& dialog) {
        auto& numbers = static_cast<TTelSelForm&>(dialog);
        numbers.TelNumField->setText("999");
        numbers.BitBtn1->click();
    });
    form.SBDialBtn->click();
    EXPECT_TRUE(form.DialPending());
    ASSERT_TRUE(PumpUntil([&] { return !form.DialPending() && form.ComPort->Open(); }, 5000));
    EXPECT_FALSE(Online(form));
    EXPECT_EQ(form.TapiDevice->State(), comms::TTapiDevice::TState::Direct);
}
