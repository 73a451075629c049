#include "platform/SerialPorts.h"

#include "platform/Drives.h"
#include "platform/IoError.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <fstream>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

inline constexpr std::size_t kMaxPorts = 8;

// The device numbers n of the files devFolder/prefix + n, ascending.
std::vector<int> DeviceNumbers(const std::filesystem::path& devFolder, std::string_view prefix) {
    std::vector<int> numbers;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(devFolder, error)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(prefix) || name.size() == prefix.size())
            continue;
        int number = 0;
        const char* end = name.data() + name.size();
        const auto [rest, failure] = std::from_chars(name.data() + prefix.size(), end, number);
        if (failure == std::errc() && rest == end)
            numbers.push_back(number);
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

// A built-in port is there when the kernel has found a UART behind it (type not 0, "unknown").
bool HasUart(const std::filesystem::path& ttyFolder, const std::string& name) {
    std::ifstream in(ttyFolder / name / "type");
    int type = 0;
    return static_cast<bool>(in >> type) && type != 0;
}

speed_t SpeedOf(int baud) {
    static constexpr std::pair<int, speed_t> kSpeeds[] = {
        {300, B300},       {1200, B1200},     {2400, B2400},     {4800, B4800},
        {9600, B9600},     {19200, B19200},   {38400, B38400},   {57600, B57600},
        {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600}};
    for (const auto& [rate, speed] : kSpeeds)
        if (rate == baud)
            return speed;
    return B0;
}

// The errno values that mean the far end or the device went away.
bool LineIsGone(int error) {
    return error == EIO || error == ENXIO || error == ENODEV || error == EPIPE;
}

} // namespace

std::vector<std::string> FindSerialDevices(const std::filesystem::path& devFolder,
                                           const std::filesystem::path& ttyFolder) {
    std::vector<std::string> devices;
    for (const char* prefix : {"ttyUSB", "ttyACM"})
        for (int number : DeviceNumbers(devFolder, prefix))
            devices.push_back((devFolder / (prefix + std::to_string(number))).string());
    for (int number : DeviceNumbers(devFolder, "ttyS")) {
        const std::string name = "ttyS" + std::to_string(number);
        if (HasUart(ttyFolder, name))
            devices.push_back((devFolder / name).string());
    }
    return devices;
}

std::optional<std::string> SerialDeviceName(std::string_view port) {
    const auto number = SerialPortNumber(port);
    if (!number)
        return std::nullopt;
    const DrivesFile file = ReadDrivesFile();
    if (const auto it = file.serialPorts.find(*number); it != file.serialPorts.end())
        return it->second;
    const std::size_t index = static_cast<std::size_t>(*number) - 1;
    if (index >= kMaxPorts)
        return std::nullopt;
    const auto devices = FindSerialDevices("/dev", "/sys/class/tty");
    if (index >= devices.size())
        return std::nullopt;
    return devices[index];
}

SerialDevice::~SerialDevice() {
    Close();
}

SerialDevice::SerialDevice(SerialDevice&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

SerialDevice& SerialDevice::operator=(SerialDevice&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

int SerialDevice::Open(const std::string& deviceFile, int baud) {
    Close();
    const speed_t speed = SpeedOf(baud);
    if (speed == B0)
        return ERROR_INVALID_PARAMETER;
    const int fd = ::open(deviceFile.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return LastIoError();
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) {
        ::close(fd);
        return ERROR_INVALID_PARAMETER;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return ERROR_SHARING_VIOLATION;
    }
    cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    settings.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS | CSTOPB);
    settings.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    if (cfsetispeed(&settings, speed) != 0 || cfsetospeed(&settings, speed) != 0 ||
        tcsetattr(fd, TCSANOW, &settings) != 0) {
        ::close(fd);
        return ERROR_INVALID_PARAMETER;
    }
    fd_ = fd;
    return ERROR_SUCCESS;
}

void SerialDevice::Close() {
    if (fd_ >= 0)
        ::close(std::exchange(fd_, -1));
}

std::ptrdiff_t SerialDevice::Read(char* buffer, std::size_t size) {
    if (fd_ < 0)
        return -1;
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, size);
        if (n > 0)
            return n;
        if (n == 0)
            return size == 0 ? 0 : -1;
        if (errno == EINTR)
            continue;
        return LineIsGone(errno) ? -1 : 0;
    }
}

std::ptrdiff_t SerialDevice::Write(const char* data, std::size_t size) {
    if (fd_ < 0)
        return -1;
    for (;;) {
        const ssize_t n = ::write(fd_, data, size);
        if (n >= 0)
            return n;
        if (errno == EINTR)
            continue;
        return LineIsGone(errno) ? -1 : 0;
    }
}

std::optional<ModemLines> SerialDevice::ReadModemLines() const {
    int bits = 0;
    if (fd_ < 0 || ioctl(fd_, TIOCMGET, &bits) != 0)
        return std::nullopt;
    return ModemLines{(bits & TIOCM_CAR) != 0, (bits & TIOCM_DSR) != 0, (bits & TIOCM_CTS) != 0,
                      (bits & TIOCM_RNG) != 0};
}

} // namespace platform
