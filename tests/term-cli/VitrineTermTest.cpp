// vitrine-term as a user runs it: against the mailbox over TCP and telnet, and on a serial
// device (a pseudo-terminal with sz on its other side).
#include "comms/Peers.h"
#include "comms/SzPeer.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

using comms_test::LrzszPeer;
using comms_test::Mailbox;
using comms_test::RandomBytes;
using testing_support::ReadFileBytes;
using testing_support::TempDir;

namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Quoted(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

Outcome VitrineTerm(const std::vector<std::string>& args) {
    const TempDir capture;
    std::string command = Quoted(VITRINE_TERM);
    for (const std::string& arg : args)
        command += " " + Quoted(arg);
    command += " >" + Quoted(capture.File("out")) + " 2>" + Quoted(capture.File("err"));
    Outcome run;
    const int status = std::system(command.c_str());
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadFileBytes(capture.File("out"));
    run.err = ReadFileBytes(capture.File("err"));
    return run;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace

TEST(VitrineTerm, ReceivesTheBatchAndWritesTheScreenSeenBeforeIt) {
    Mailbox mailbox({"a.bin", "b.txt", "empty"});
    const std::string binary = RandomBytes(150'000, 21);
    mailbox.Folder().Write("a.bin", binary);
    mailbox.Folder().Write("b.txt", "Text\r\n");
    mailbox.Folder().Write("empty", "");
    ASSERT_TRUE(mailbox.Ready());
    const TempDir destination;
    const std::string screen = destination.File("screen.txt");
    const Outcome run =
        VitrineTerm({"receive", "127.0.0.1:" + std::to_string(mailbox.Port()),
                     destination.Path().string(), "--send", "d", "--screen", screen});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "a.bin\t150000\tok\nb.txt\t6\tok\nempty\t0\tok\n");
    EXPECT_EQ(ReadFileBytes(destination.File("a.bin")), binary);
    const std::vector<std::string> rows = Lines(ReadFileBytes(screen));
    ASSERT_EQ(rows.size(), 24u);
    // The welcome screen, moved up two lines by "Download startet..." and the sender's "rz".
    EXPECT_TRUE(rows[2].starts_with("  Grüße aus Düsseldorf - hier ")) << rows[2];
    EXPECT_EQ(rows[21], "Ihre Wahl:" + std::string(70, ' '));
    EXPECT_EQ(rows[22], "Download startet..." + std::string(61, ' '));
    EXPECT_EQ(rows[23], "rz" + std::string(78, ' '));

    const Outcome again = VitrineTerm({"receive", "127.0.0.1:" + std::to_string(mailbox.Port()),
                                       destination.Path().string(), "--send", "d"});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.out, "a.bin\t150000\tskipped\nb.txt\t6\tskipped\nempty\t0\tskipped\n");
}

TEST(VitrineTerm, TelnetCarriesIacAndCancelBytes) {
    Mailbox mailbox({"ff18.bin"}, {"--telnet"});
    std::string nasty;
    for (int i = 0; i < 20'000; ++i)
        nasty += std::string("\xff\xff\x18\x18\xff\r\0\n", 8);
    mailbox.Folder().Write("ff18.bin", nasty);
    ASSERT_TRUE(mailbox.Ready());
    const TempDir destination;
    const Outcome run =
        VitrineTerm({"receive", "--telnet", "127.0.0.1:" + std::to_string(mailbox.Port()),
                     destination.Path().string(), "--send", "d"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "ff18.bin\t160000\tok\n");
    EXPECT_EQ(ReadFileBytes(destination.File("ff18.bin")), nasty);
}

TEST(VitrineTerm, ReceivesOnASerialDeviceWithoutDialling) {
    const TempDir source;
    const std::string data = RandomBytes(80'000, 22);
    source.Write("serial.bin", data);
    LrzszPeer sz("sz", {"-q", "serial.bin"}, source.Path().string(),
                 LrzszPeer::Line::PseudoTerminal);
    const TempDir destination;
    const Outcome run =
        VitrineTerm({"receive", "--device", sz.Device(), destination.Path().string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "serial.bin\t80000\tok\n");
    EXPECT_EQ(ReadFileBytes(destination.File("serial.bin")), data);
}

TEST(VitrineTerm, FailuresEndWithStatusOneAndAReason) {
    Mailbox mailbox({"a.txt"});
    mailbox.Folder().Write("a.txt", "x");
    ASSERT_TRUE(mailbox.Ready());
    const Outcome missingFolder =
        VitrineTerm({"receive", "127.0.0.1:" + std::to_string(mailbox.Port()),
                     "/nonexistent/folder", "--send", "d"});
    EXPECT_EQ(missingFolder.status, 1);
    EXPECT_EQ(missingFolder.out, "a.txt\t0\tfailed\n");
    EXPECT_NE(missingFolder.err.find("Das Verzeichnis gibt es nicht"), std::string::npos)
        << missingFolder.err;

    const Outcome usage = VitrineTerm({"receive", "nohost"});
    EXPECT_EQ(usage.status, 1);
    EXPECT_NE(usage.err.find("Aufruf"), std::string::npos);
    const Outcome badAddress = VitrineTerm({"receive", "host:0", "/tmp"});
    EXPECT_EQ(badAddress.status, 1);
    EXPECT_NE(badAddress.err.find("RECHNER:PORT"), std::string::npos);
    const Outcome refused = VitrineTerm({"receive", "127.0.0.1:1", "/tmp"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_FALSE(refused.err.empty());
    const Outcome noDevice = VitrineTerm({"receive", "--device", "/nonexistent/tty", "/tmp"});
    EXPECT_EQ(noDevice.status, 1);
    EXPECT_NE(noDevice.err.find("/nonexistent/tty gibt es nicht"), std::string::npos);
}
