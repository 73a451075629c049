#include "platform/SerialPorts.h"

#include "platform/IoError.h"
#include "platform/ScopedConfigFolder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <string>
#include <unistd.h>

using namespace platform;
using testing_support::ScopedConfigFolder;
using testing_support::TempDir;

namespace {

// The master side of a pseudo-terminal; SlaveName() is the device a port opens.
class PseudoTerminal {
public:
    PseudoTerminal() : master_(posix_openpt(O_RDWR | O_NOCTTY)) {
        EXPECT_GE(master_, 0);
        grantpt(master_);
        unlockpt(master_);
    }
    ~PseudoTerminal() { CloseMaster(); }
    std::string SlaveName() const { return ptsname(master_); }
    int Master() const { return master_; }
    void CloseMaster() {
        if (master_ >= 0)
            close(master_);
        master_ = -1;
    }

private:
    int master_;
};

std::string ReadWaiting(SerialDevice& device) {
    pollfd wanted{device.Handle(), POLLIN, 0};
    EXPECT_EQ(poll(&wanted, 1, 10000), 1) << "nothing arrived within 10 s";
    char buffer[256];
    const auto n = device.Read(buffer, sizeof buffer);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

} // namespace

TEST(SerialPorts, UsbAdaptersComeFirstThenBuiltInPortsWithAUart) {
    const TempDir dev;
    const TempDir sys;
    for (const char* name :
         {"ttyS0", "ttyS1", "ttyS10", "ttyS2", "ttyUSB1", "ttyUSB0", "ttyACM0", "ttySX", "tty0"})
        dev.Write(name, "");
    sys.Write("ttyS0/type", "4\n");
    sys.Write("ttyS1/type", "0\n");
    sys.Write("ttyS10/type", "4\n");
    const std::string d = dev.Path().string();
    EXPECT_EQ(FindSerialDevices(dev.Path(), sys.Path()),
              (std::vector<std::string>{d + "/ttyUSB0", d + "/ttyUSB1", d + "/ttyACM0",
                                        d + "/ttyS0", d + "/ttyS10"}));
}

TEST(SerialPorts, DrivesFileNamesTheDeviceOfAPort) {
    const ScopedConfigFolder config;
    config.Write("drives", "com1 = /dev/pts/7\nCOM12 = /dev/ttyUSB3\n");
    EXPECT_EQ(SerialDeviceName("Com1"), "/dev/pts/7");
    EXPECT_EQ(SerialDeviceName("com12"), "/dev/ttyUSB3");
    EXPECT_EQ(SerialDeviceName("com9"), std::nullopt) << "past com8 only through the file";
    EXPECT_EQ(SerialDeviceName("lpt1"), std::nullopt);
    EXPECT_EQ(SerialDeviceName("com"), std::nullopt);
}

TEST(SerialPorts, PseudoTerminalIsARawLineWithoutModemLines) {
    PseudoTerminal pty;
    SerialDevice device;
    ASSERT_EQ(device.Open(pty.SlaveName(), 38400), ERROR_SUCCESS);
    EXPECT_EQ(device.ReadModemLines(), std::nullopt);

    const std::string bytes("AT\r\n\x00\x11\x13\xff", 8);
    ASSERT_EQ(write(pty.Master(), bytes.data(), bytes.size()), 8);
    std::string received;
    while (received.size() < bytes.size())
        received += ReadWaiting(device);
    EXPECT_EQ(received, bytes) << "no translation, no flow control characters taken";

    ASSERT_EQ(device.Write("OK\r", 3), 3);
    char back[8] = {};
    EXPECT_EQ(read(pty.Master(), back, sizeof back), 3) << "no echo, CR kept";
    EXPECT_EQ(std::string(back, 3), "OK\r");

    char buffer[16];
    EXPECT_EQ(device.Read(buffer, sizeof buffer), 0) << "nothing waiting";
    pty.CloseMaster();
    pollfd wanted{device.Handle(), POLLIN, 0};
    EXPECT_EQ(poll(&wanted, 1, 10000), 1);
    EXPECT_EQ(device.Read(buffer, sizeof buffer), -1) << "the far end hung up";
}

TEST(SerialPorts, OpenReportsWhyItFailed) {
    SerialDevice device;
    EXPECT_EQ(device.Open("/nonexistent/ttyS0", 38400), ERROR_FILE_NOT_FOUND);
    const TempDir dir;
    EXPECT_EQ(device.Open(dir.Write("plain", "x"), 38400), ERROR_INVALID_PARAMETER)
        << "no terminal";
    PseudoTerminal pty;
    EXPECT_EQ(device.Open(pty.SlaveName(), 12345), ERROR_INVALID_PARAMETER) << "odd speed";
    ASSERT_EQ(device.Open(pty.SlaveName(), 9600), ERROR_SUCCESS);
    SerialDevice second;
    EXPECT_EQ(second.Open(pty.SlaveName(), 9600), ERROR_SHARING_VIOLATION);
    device.Close();
    EXPECT_EQ(second.Open(pty.SlaveName(), 9600), ERROR_SUCCESS) << "free again after close";
}
