// The modem and the dialler through the modem emulator on a pseudo-terminal, into the mailbox.
#include "comms/Modem.h"

#include "comms/ComPort.h"
#include "comms/DialerDialog.h"
#include "comms/Peers.h"
#include "platform/ScopedConfigFolder.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace comms;
using comms_test::Mailbox;
using comms_test::ModemEmulator;
using comms_test::Pump;
using comms_test::PumpUntil;
using testing_support::ScopedConfigFolder;

namespace {

struct Responses {
    explicit Responses(TModem& modem) {
        QObject::connect(&modem, &TModem::Response, [this](TModemResponse r, const QString& line) {
            kinds.push_back(r);
            lines.push_back(line.toStdString());
        });
        QObject::connect(&modem, &TModem::CommandTimedOut, [this] { ++timeouts; });
    }
    std::vector<TModemResponse> kinds;
    std::vector<std::string> lines;
    int timeouts = 0;
};

// The modem emulator's terminal as com2, a port on it, and a modem on the port.
class ModemLine {
public:
    ModemLine(const std::vector<std::string>& modemOptions = {"--busy", "555", "--no-dialtone",
                                                              "666"})
        : mailbox({}), emulator(mailbox, modemOptions) {
        config.Write("drives", "com2 = " + emulator.Device() + "\n");
        port.SetComNumber(2);
        port.SetOpen(true);
    }

    ScopedConfigFolder config;
    Mailbox mailbox;
    ModemEmulator emulator;
    TComPort port;
    TModem modem{&port};
};

} // namespace

TEST(Modem, ExpandsControlCharactersAndCutsLongCommands) {
    EXPECT_EQ(TModem::Expand("ATZ^M"), QByteArray("ATZ\r"));
    EXPECT_EQ(TModem::Expand("+++~~~ATH0^M"), QByteArray("+++~~~ATH0\r"));
    EXPECT_EQ(TModem::Expand("^[[0m^"), QByteArray("\x1b[0m^"));
    TComPort port;
    TModem modem(&port);
    modem.SetInitCmd(QString(300, 'A'));
    EXPECT_EQ(modem.InitCmd().size(), TModem::kMaxCommandLength);
}

TEST(Modem, DialsConnectsWithCarrierAndHangsUpWithTheGuardTime) {
    ModemLine line;
    ASSERT_TRUE(line.emulator.Ready());
    ASSERT_TRUE(line.port.Open());
    Responses responses(line.modem);
    QByteArray screen;
    QObject::connect(&line.port, &TComPort::DataReceived,
                     [&](const QByteArray& bytes) { screen += bytes; });
    line.modem.Initialize();
    ASSERT_TRUE(PumpUntil([&] { return !responses.kinds.empty(); }));
    EXPECT_EQ(responses.kinds[0], TModemResponse::Ok) << "the echo \"ATZ\" is passed over";

    const std::uint16_t carrier = line.port.AddStatusTrigger();
    line.port.SetStatusTrigger(carrier, msDCD, true);
    int carrierEvents = 0;
    QObject::connect(&line.port, &TComPort::TriggerStatus, [&] { ++carrierEvents; });
    line.modem.Dial("0211-4711");
    ASSERT_TRUE(PumpUntil([&] { return responses.kinds.size() == 2; }));
    EXPECT_EQ(responses.kinds[1], TModemResponse::Connect);
    EXPECT_EQ(responses.lines[1], "CONNECT 38400");
    EXPECT_TRUE(line.port.DCD());
    EXPECT_EQ(carrierEvents, 1);
    ASSERT_TRUE(PumpUntil([&] { return screen.contains("Ihre Wahl: "); }))
        << "the mailbox's welcome screen comes through";

    line.port.SetStatusTrigger(carrier, msDCD, true);
    Pump(1200);
    // A key typed just before the hang-up (not a modem command) must still be followed by the
    // second of silence before "+++".
    line.port.Write("x");
    line.modem.HangUp();
    ASSERT_TRUE(PumpUntil([&] { return !line.port.DCD(); }))
        << "+++ was taken as the escape, so the guard times were kept";
    EXPECT_EQ(carrierEvents, 2);
    EXPECT_EQ(responses.kinds.back(), TModemResponse::NoCarrier);
    EXPECT_EQ(responses.timeouts, 0);
}

TEST(Modem, DialerDialogEndsOkOnConnectAndCancelOtherwise) {
    ModemLine line;
    ASSERT_TRUE(line.emulator.Ready());
    TDialerDialog dialog(&line.modem);
    dialog.SetFailureDelayMs(0);

    dialog.SetPhoneNumber("555");
    EXPECT_EQ(dialog.Execute(), 2);
    EXPECT_EQ(dialog.Outcome(), TDialerDialog::TOutcome::Busy);
    EXPECT_EQ(dialog.StatusLabel->text().toStdString(), "Besetzt");

    dialog.SetPhoneNumber("666");
    EXPECT_EQ(dialog.Execute(), 2);
    EXPECT_EQ(dialog.Outcome(), TDialerDialog::TOutcome::NoDialTone);
    EXPECT_EQ(dialog.StatusLabel->text().toStdString(), "Kein Wählton");

    dialog.SetPhoneNumber("0211-4711");
    EXPECT_EQ(dialog.NumberLabel->text().toStdString(), "Nummer: 666") << "shown when executed";
    EXPECT_EQ(dialog.Execute(), 1);
    EXPECT_EQ(dialog.Outcome(), TDialerDialog::TOutcome::Connected);
    EXPECT_EQ(dialog.ConnectLine().toStdString(), "CONNECT 38400");
    EXPECT_TRUE(line.port.DCD());
}

TEST(Modem, DialerCancelAndCommandTimeOut) {
    // A line that never answers: the test holds the other end of the pseudo-terminal.
    comms_test::Pty line;
    ScopedConfigFolder config;
    config.Write("drives", "com1 = " + line.Slave() + "\n");
    TComPort port;
    port.SetOpen(true);
    TModem modem(&port);
    Responses responses(modem);
    modem.SetCmdTimeout(3);
    modem.Initialize();
    ASSERT_TRUE(PumpUntil([&] { return responses.timeouts == 1; }, 10000));

    TDialerDialog dialog(&modem);
    dialog.SetPhoneNumber("123");
    QTimer::singleShot(100, dialog.CancelBtn, &QPushButton::click);
    EXPECT_EQ(dialog.Execute(), 2);
    EXPECT_EQ(dialog.Outcome(), TDialerDialog::TOutcome::Cancelled);
    Pump(100);
    EXPECT_EQ(line.Received(), "ATZ\rATDT123\r\r") << "init, dial, and the dial-cancel string";
}
