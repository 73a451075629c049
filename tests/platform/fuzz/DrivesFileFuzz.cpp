// Fuzz target for the drive table's sources: the "drives" file of the configuration folder and
// the mount table, both read from the input. Checks: every drive has a letter a to z, a folder
// and a known type; every serial port a positive number and a device file.
#include "platform/Drives.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void Require(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const platform::DrivesFile file = platform::ParseDrivesFile(text, "/home/nutzer");
    for (const platform::Drive& drive : file.drives) {
        Require(drive.letter >= 'a' && drive.letter <= 'z');
        Require(!drive.folder.empty());
        Require(drive.type >= platform::DriveType::Removable &&
                drive.type <= platform::DriveType::CdRom);
    }
    for (const auto& [number, device] : file.serialPorts)
        Require(number > 0 && !device.empty());
    for (const platform::CdMount& mount : platform::ParseCdMounts(text))
        Require(!mount.mountPoint.empty());
    return 0;
}
