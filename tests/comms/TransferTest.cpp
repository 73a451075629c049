// File transfers end to end: the modem emulator on a pseudo-terminal or a network line device
// into the mailbox, which sends with lrzsz's sz; the port's "rz" CR trigger starts our receiver.
#include "comms/ComPort.h"
#include "comms/Modem.h"
#include "comms/Peers.h"
#include "comms/Protocol.h"
#include "comms/SzPeer.h"
#include "comms/TapiDevice.h"
#include "platform/ScopedConfigFolder.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace comms;
using comms_test::Mailbox;
using comms_test::ModemEmulator;
using comms_test::Pump;
using comms_test::PumpUntil;
using comms_test::RandomBytes;
using testing_support::ReadFileBytes;
using testing_support::ScopedConfigFolder;
using testing_support::TempDir;

namespace {

// A port with the "rz" CR trigger starting a protocol that receives into Destination().
class Receiver {
public:
    Receiver() : protocol(&port) {
        protocol.SetDestinationDirectory(QString::fromStdString(destination.Path().string()));
        trigger = port.AddDataTrigger("rz\r");
        QObject::connect(&port, &TComPort::TriggerData, [this](TComPort*, std::uint16_t handle) {
            if (handle == trigger)
                protocol.StartReceive();
        });
        QObject::connect(&port, &TComPort::DataReceived,
                         [this](const QByteArray& bytes) { terminal += bytes; });
        QObject::connect(&protocol, &TProtocol::ProtocolFinish,
                         [this](TProtocol*, bool ok, const QString& message) {
                             finished = true;
                             completed = ok;
                             outcome = message.toStdString();
                         });
    }

    bool WaitForFinish() {
        return PumpUntil([this] { return finished; }, 90000);
    }
    std::string File(const std::string& name) const {
        return ReadFileBytes(destination.File(name));
    }

    TempDir destination;
    TComPort port;
    TProtocol protocol;
    std::uint16_t trigger = 0;
    QByteArray terminal;
    bool finished = false;
    bool completed = false;
    std::string outcome;
};

struct Batch {
    std::string binary = RandomBytes(200'000, 11);
    std::string text = "Liesmich\r\n\x84\x94\x81 in Codeseite 437\r\n";
    void WriteTo(const Mailbox& mailbox) const {
        mailbox.Folder().Write("binary.bin", binary);
        mailbox.Folder().Write("liesmich.txt", text);
        mailbox.Folder().Write("leer.dat", "");
    }
};

const std::vector<std::string> kBatchFiles{"binary.bin", "liesmich.txt", "leer.dat"};

void ExpectBatch(const Receiver& receiver, const Batch& batch) {
    EXPECT_TRUE(receiver.completed) << receiver.outcome;
    ASSERT_EQ(receiver.protocol.Files().size(), 3u);
    for (const ReceivedFile& file : receiver.protocol.Files())
        EXPECT_EQ(file.status, ReceivedFile::Ok) << file.name << ": " << file.message;
    EXPECT_EQ(receiver.File("binary.bin"), batch.binary);
    EXPECT_EQ(receiver.File("liesmich.txt"), batch.text);
    EXPECT_TRUE(std::filesystem::is_regular_file(receiver.destination.Path() / "leer.dat"));
    EXPECT_EQ(receiver.File("leer.dat"), "");
}

// Dials the mailbox through the modem emulator (com3) and asks for the download.
void DialAndAsk(Receiver& receiver, ModemEmulator& emulator, ScopedConfigFolder& config) {
    config.Write("drives", "com3 = " + emulator.Device() + "\n");
    receiver.port.SetComNumber(3);
    receiver.port.SetOpen(true);
    TModem modem(&receiver.port);
    bool connected = false;
    QObject::connect(&modem, &TModem::Response, [&](TModemResponse response, const QString&) {
        connected = connected || response == TModemResponse::Connect;
    });
    modem.Dial("0211-4711");
    ASSERT_TRUE(PumpUntil([&] { return connected; }));
    EXPECT_TRUE(receiver.port.DCD());
    ASSERT_TRUE(PumpUntil([&] { return receiver.terminal.contains("Ihre Wahl: "); }));
    receiver.port.Write("d");
}

} // namespace

TEST(Transfer, BatchThroughTheModemEmulatorIsByteIdenticalAndTheLineComesBack) {
    Mailbox mailbox(kBatchFiles);
    Batch batch;
    batch.WriteTo(mailbox);
    ModemEmulator emulator(mailbox);
    ASSERT_TRUE(mailbox.Ready() && emulator.Ready());
    ScopedConfigFolder config;
    Receiver receiver;
    DialAndAsk(receiver, emulator, config);
    ASSERT_TRUE(receiver.WaitForFinish());
    ExpectBatch(receiver, batch);
    EXPECT_EQ(receiver.port.Capture(), nullptr);
    ASSERT_TRUE(PumpUntil([&] { return receiver.terminal.contains("Fertig."); }))
        << "after the transfer the mailbox's text reaches the terminal again";
    EXPECT_FALSE(receiver.terminal.contains("OO")) << "the sender's closing OO was taken";
}

TEST(Transfer, TelnetLineCarriesIacAndCancelBytesAndReplacesADifferentFile) {
    Mailbox mailbox({"ff18.bin", "binary.bin"}, {"--telnet"});
    std::string nasty;
    for (int i = 0; i < 40'000; ++i)
        nasty += std::string("\xff\x18\xff\xff\x18\x18\r\0\r\n", 10);
    mailbox.Folder().Write("ff18.bin", nasty);
    mailbox.Folder().Write("binary.bin", RandomBytes(100'000, 12));
    ASSERT_TRUE(mailbox.Ready());
    ScopedConfigFolder config;
    TDialDirectory directory("Telnet");
    directory.SetEntries({{"0211-4711", "127.0.0.1", static_cast<quint16>(mailbox.Port())}});
    directory.Save();

    for (int call = 1; call <= 2; ++call) {
        SCOPED_TRACE("call " + std::to_string(call));
        Receiver receiver;
        if (call == 2)
            receiver.destination.Write("ff18.bin", "an older, different file");
        TTapiDevice device(&receiver.port);
        device.SetSelectedDevice("Telnet");
        bool open = false;
        QObject::connect(&device, &TTapiDevice::TapiPortOpen, [&] { open = true; });
        device.Dial("0211 4711");
        ASSERT_TRUE(PumpUntil([&] { return open; }));
        EXPECT_TRUE(receiver.port.DCD());
        ASSERT_TRUE(PumpUntil([&] { return receiver.terminal.contains("Ihre Wahl: "); }));
        receiver.port.Write("d");
        ASSERT_TRUE(receiver.WaitForFinish());
        EXPECT_TRUE(receiver.completed) << receiver.outcome;
        EXPECT_EQ(receiver.File("ff18.bin"), nasty);
        ASSERT_EQ(receiver.protocol.Files().size(), 2u);
        EXPECT_EQ(receiver.protocol.Files()[0].status, ReceivedFile::Ok);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(receiver.destination.Path()),
                                std::filesystem::directory_iterator()),
                  2)
            << "no temporary file left";
    }
}

TEST(Transfer, IdenticalFileIsSkippedAndAnInterruptedOneResumed) {
    Mailbox mailbox({"same.txt", "big.bin"}, {"--sz-args", "-q -r"});
    const std::string big = RandomBytes(600'000, 13);
    mailbox.Folder().Write("same.txt", "schon da\r\n");
    mailbox.Folder().Write("big.bin", big);
    ASSERT_TRUE(mailbox.Ready());
    Receiver receiver;
    std::filesystem::copy_file(mailbox.Folder().Path() / "same.txt",
                               receiver.destination.Path() / "same.txt",
                               std::filesystem::copy_options::copy_symlinks);
    std::filesystem::last_write_time(
        receiver.destination.Path() / "same.txt",
        std::filesystem::last_write_time(mailbox.Folder().Path() / "same.txt"));
    receiver.destination.Write("big.bin", big.substr(0, 250'000));
    auto* line = new TNetworkLine(false);
    QObject::connect(line, &TNetworkLine::Connected, [&] { receiver.port.AttachLine(line); });
    line->Connect("127.0.0.1", static_cast<quint16>(mailbox.Port()));
    ASSERT_TRUE(PumpUntil([&] { return receiver.terminal.contains("Ihre Wahl: "); }));
    qint64 startedAt = -1;
    QObject::connect(&receiver.protocol, &TProtocol::ProtocolStatus, [&](TProtocol* p) {
        if (startedAt < 0 && p->FileName() == "big.bin")
            startedAt = p->BytesTransferred();
    });
    receiver.port.Write("d");
    ASSERT_TRUE(receiver.WaitForFinish());
    EXPECT_TRUE(receiver.completed) << receiver.outcome;
    ASSERT_EQ(receiver.protocol.Files().size(), 2u);
    EXPECT_EQ(receiver.protocol.Files()[0].status, ReceivedFile::Skipped);
    EXPECT_EQ(receiver.protocol.Files()[1].status, ReceivedFile::Ok);
    EXPECT_EQ(startedAt, 250'000) << "resumed at the partial file's length";
    EXPECT_EQ(receiver.File("big.bin"), big);
}

TEST(Transfer, LineNoiseGivesACorrectFileOrAClearFailure) {
    Mailbox mailbox({"noisy.bin"}, {"--noise", "7:30000:40000"});
    const std::string data = RandomBytes(300'000, 14);
    mailbox.Folder().Write("noisy.bin", data);
    ASSERT_TRUE(mailbox.Ready());
    Receiver receiver;
    receiver.protocol.SetHandshakeWait(110); // ask again after a silent second
    auto* line = new TNetworkLine(false);
    QObject::connect(line, &TNetworkLine::Connected, [&] { receiver.port.AttachLine(line); });
    line->Connect("127.0.0.1", static_cast<quint16>(mailbox.Port()));
    ASSERT_TRUE(PumpUntil([&] { return receiver.terminal.contains("Ihre Wahl: "); }));
    receiver.port.Write("d");
    ASSERT_TRUE(receiver.WaitForFinish());
    EXPECT_GT(receiver.protocol.TotalErrors(), 0) << "the noise was noticed";
    if (receiver.completed) {
        EXPECT_EQ(receiver.File("noisy.bin"), data);
    } else {
        EXPECT_FALSE(receiver.outcome.empty());
        ASSERT_FALSE(receiver.protocol.Files().empty());
        EXPECT_EQ(receiver.protocol.Files().back().status, ReceivedFile::Failed);
    }
}

TEST(Transfer, LostLineEndsTheTransferKeepingThePartialFileForRecovery) {
    Mailbox mailbox({"huge.bin"});
    mailbox.Folder().Write("huge.bin", RandomBytes(30'000'000, 15));
    ASSERT_TRUE(mailbox.Ready());
    Receiver receiver;
    auto* line = new TNetworkLine(false);
    QObject::connect(line, &TNetworkLine::Connected, [&] { receiver.port.AttachLine(line); });
    line->Connect("127.0.0.1", static_cast<quint16>(mailbox.Port()));
    ASSERT_TRUE(PumpUntil([&] { return receiver.terminal.contains("Ihre Wahl: "); }));
    receiver.port.Write("d");
    ASSERT_TRUE(PumpUntil([&] { return receiver.protocol.BytesTransferred() > 100'000; }));
    line->Release();
    receiver.port.SetOpen(false);
    ASSERT_TRUE(receiver.WaitForFinish());
    EXPECT_FALSE(receiver.completed);
    EXPECT_EQ(receiver.outcome, "Die Verbindung ist unterbrochen");
    ASSERT_EQ(receiver.protocol.Files().size(), 1u);
    EXPECT_EQ(receiver.protocol.Files()[0].status, ReceivedFile::Failed);
    EXPECT_GE(std::filesystem::file_size(receiver.destination.Path() / "huge.bin"), 100'000u);
}
