#include "comms/ComPort.h"

#include "comms/Peers.h"
#include "platform/CodePage.h"
#include "platform/ScopedConfigFolder.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace comms;
using comms_test::Pump;
using comms_test::PumpUntil;
using testing_support::ScopedConfigFolder;

namespace {

// A pseudo-terminal whose device the drives file names as com1.
class PtyAsCom1 : public comms_test::Pty {
public:
    PtyAsCom1() { config_.Write("drives", "com1 = " + Slave() + "\n"); }

private:
    ScopedConfigFolder config_;
};

// Records what a port hands on, in order: data as it is, triggers as "<T:handle>".
struct Journal {
    explicit Journal(TComPort& port) {
        QObject::connect(&port, &TComPort::DataReceived,
                         [this](const QByteArray& bytes) { text += bytes.toStdString(); });
        QObject::connect(&port, &TComPort::TriggerData, [this](TComPort*, std::uint16_t handle) {
            text += "<T:" + std::to_string(handle) + ">";
        });
        QObject::connect(&port, &TComPort::TriggerStatus,
                         [this](TComPort*, std::uint16_t handle) { status.push_back(handle); });
    }
    std::string text;
    std::vector<std::uint16_t> status;
};

} // namespace

TEST(ComPort, DataTriggerMatchesAcrossReadsCaseSensitiveAndFiresInPlace) {
    PtyAsCom1 pty;
    TComPort port;
    port.SetOpen(true);
    ASSERT_TRUE(port.Open());
    EXPECT_EQ(port.DeviceName().toStdString(), pty.Slave());
    Journal journal(port);
    const std::uint16_t zmodem = port.AddDataTrigger("rz\r");
    const std::uint16_t other = port.AddDataTrigger("login:");
    EXPECT_NE(zmodem, 0);
    EXPECT_NE(zmodem, other);

    ASSERT_TRUE(pty.Send("RZ\rab r"));
    ASSERT_TRUE(PumpUntil([&] { return journal.text == "RZ\rab r"; }, 3000)) << journal.text;
    ASSERT_TRUE(pty.Send("z\rcd"));
    ASSERT_TRUE(PumpUntil([&] { return journal.text.size() >= 14; }));
    EXPECT_EQ(journal.text, "RZ\rab rz\r<T:" + std::to_string(zmodem) + ">cd");

    port.RemoveTrigger(zmodem);
    ASSERT_TRUE(pty.Send("rz\rlogin:"));
    const std::string expected = journal.text + "rz\rlogin:<T:" + std::to_string(other) + ">";
    ASSERT_TRUE(PumpUntil([&] { return journal.text.size() >= expected.size(); }, 3000))
        << journal.text;
    EXPECT_EQ(journal.text, expected);

    port.RemoveAllTriggers();
    ASSERT_TRUE(pty.Send("login:"));
    ASSERT_TRUE(PumpUntil([&] { return journal.text == expected + "login:"; }, 5000))
        << "no trigger after removing all: " << journal.text;
}

TEST(ComPort, CarrierWithoutModemLinesFollowsTheResultCodesAndALostLine) {
    PtyAsCom1 pty;
    TComPort port;
    port.SetOpen(true);
    Journal journal(port);
    const std::uint16_t carrier = port.AddStatusTrigger();
    port.SetStatusTrigger(carrier, msDCD, true);
    EXPECT_FALSE(port.DCD());

    ASSERT_TRUE(pty.Send("ATDT123\r\r\nCONNECT 38400\r\n"));
    ASSERT_TRUE(PumpUntil([&] { return journal.status.size() == 1; }));
    EXPECT_TRUE(port.DCD());
    EXPECT_EQ(port.ModemStatus() & msDCD, msDCD);
    EXPECT_EQ(journal.status[0], carrier);

    ASSERT_TRUE(pty.Send("\r\nNO CARRIER\r\n"));
    ASSERT_TRUE(PumpUntil([&] { return !port.DCD(); }));
    Pump(50);
    EXPECT_EQ(journal.status.size(), 1u) << "fires once per arming";

    port.SetStatusTrigger(carrier, msDCD, true);
    ASSERT_TRUE(pty.Send("CONNECT\r"));
    ASSERT_TRUE(PumpUntil([&] { return journal.status.size() == 2; }));
    // A lost line drops the carrier, closes the port and says so.
    QString reason;
    bool closed = false;
    QObject::connect(&port, &TComPort::LineLost, [&](const QString& text) { reason = text; });
    QObject::connect(&port, &TComPort::PortClosed, [&] { closed = true; });
    port.SetStatusTrigger(carrier, msDCD, true);
    pty.CloseMaster();
    ASSERT_TRUE(PumpUntil([&] { return journal.status.size() == 3 && closed; }));
    EXPECT_FALSE(port.DCD());
    EXPECT_FALSE(port.Open());
    EXPECT_EQ(reason, "Die Leitung ist unterbrochen");
}

TEST(ComPort, OpenFailuresSayWhy) {
    PtyAsCom1 pty;
    TComPort port;
    port.SetComNumber(7);
    try {
        port.SetOpen(true);
        FAIL() << "com7 has no device here";
    } catch (const EComError& error) {
        EXPECT_EQ(platform::Ansi1252ToUtf8(error.Message()), "COM7 ist keinem Gerät zugeordnet");
    }
    port.SetComNumber(1);
    TComPort holder;
    holder.SetOpen(true);
    try {
        port.SetOpen(true);
        FAIL() << "the device is taken";
    } catch (const EComError& error) {
        EXPECT_EQ(platform::Ansi1252ToUtf8(error.Message()),
                  pty.Slave() + " wird schon von einem anderen Programm benutzt");
    }
    EXPECT_FALSE(port.Open());
    holder.SetOpen(false);
    port.SetOpen(true);
    EXPECT_TRUE(port.Open());
}

namespace {

// Takes bytes until it has seen "END", then lets go.
struct UntilEnd : TLineCapture {
    explicit UntilEnd(TComPort& p) : port(p) {}
    std::size_t Captured(std::string_view bytes) override {
        const std::size_t end = std::string_view(seen + std::string(bytes)).find("END");
        if (end == std::string_view::npos) {
            seen += bytes;
            return bytes.size();
        }
        const std::size_t used = end + 3 - seen.size();
        seen += bytes.substr(0, used);
        port.SetCapture(nullptr);
        return used;
    }
    TComPort& port;
    std::string seen;
};

} // namespace

TEST(ComPort, CaptureTakesTheLineAndHandsTheRestBack) {
    PtyAsCom1 pty;
    TComPort port;
    port.SetOpen(true);
    Journal journal(port);
    port.AddDataTrigger("rz\r");
    UntilEnd capture(port);
    port.SetCapture(&capture);
    ASSERT_TRUE(pty.Send("binary rz\r data END"));
    ASSERT_TRUE(pty.Send("after"));
    ASSERT_TRUE(PumpUntil([&] { return journal.text == "after"; }));
    EXPECT_EQ(capture.seen, "binary rz\r data END") << "no trigger while captured";
}

TEST(ComPort, ReadingPausesWhileTooMuchWaitsAndEverythingArrives) {
    PtyAsCom1 pty;
    TComPort port;
    port.SetBufferFull(100);
    port.SetBufferResume(10);
    port.SetOpen(true);
    Journal journal(port);
    std::string sent;
    for (int i = 0; i < 2000; ++i)
        sent += "Zeile " + std::to_string(i) + "\r\n";
    // Written as the line takes it: the port reads in the same thread.
    std::size_t written = 0;
    ASSERT_TRUE(PumpUntil([&] {
        const ssize_t n = write(pty.Master(), sent.data() + written, sent.size() - written);
        written += n > 0 ? static_cast<std::size_t>(n) : 0;
        return journal.text.size() >= sent.size();
    }));
    EXPECT_EQ(journal.text, sent);
}
