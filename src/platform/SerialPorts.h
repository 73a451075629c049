// Serial ports: the names com1 … com8 for device files, and a device file opened as a raw line.
//
// A port number maps to the device file the "drives" file names for it ("com1 = /dev/ttyUSB0").
// Otherwise the ports are numbered over the serial devices that exist: USB adapters
// (/dev/ttyUSB*, then /dev/ttyACM*) first, then the built-in ports /dev/ttyS* whose UART the
// kernel has found, each group in the order of its device numbers.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The serial devices found below devFolder (normally /dev), built-in ports checked against
// ttyFolder (normally /sys/class/tty), in port order.
std::vector<std::string> FindSerialDevices(const std::filesystem::path& devFolder,
                                           const std::filesystem::path& ttyFolder);

// "com1" … "com8" (any case; a higher number only through "drives") → device file; nullopt for
// any other name or a port without a device.
std::optional<std::string> SerialDeviceName(std::string_view port);

// The modem status lines of a serial device.
struct ModemLines {
    bool carrierDetect = false;
    bool dataSetReady = false;
    bool clearToSend = false;
    bool ringIndicator = false;
};

// A device file opened as a raw 8-bit line (8 data bits, no parity, one stop bit, no echo, no
// line editing, no flow control), non-blocking and for this process alone. Closed by the
// destructor.
class SerialDevice {
public:
    SerialDevice() = default;
    ~SerialDevice();
    SerialDevice(SerialDevice&& other) noexcept;
    SerialDevice& operator=(SerialDevice&& other) noexcept;
    SerialDevice(const SerialDevice&) = delete;
    SerialDevice& operator=(const SerialDevice&) = delete;

    // 0 on success, else the Windows error number (ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED,
    // ERROR_SHARING_VIOLATION when another program holds it, ERROR_INVALID_PARAMETER when it
    // is no terminal device or the speed is not supported).
    int Open(const std::string& deviceFile, int baud);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    // For the caller's event loop to watch for readable data; -1 when closed.
    int Handle() const { return fd_; }

    // Bytes read, 0 when nothing is waiting, -1 when the line is gone (hung up, unplugged).
    std::ptrdiff_t Read(char* buffer, std::size_t size);
    // Bytes written (possibly fewer than size, 0 when the line is full), -1 when it is gone.
    std::ptrdiff_t Write(const char* data, std::size_t size);
    // nullopt when the device has no modem lines (a pseudo-terminal, many USB adapters).
    std::optional<ModemLines> ReadModemLines() const;

private:
    int fd_ = -1;
};

} // namespace platform
