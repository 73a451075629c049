// Volume labels of CD file systems, read from the device (or image file) itself: the ISO 9660
// primary volume descriptor, else the UDF primary volume descriptor. Labels are ANSI text.
#pragma once

#include <istream>
#include <string>

namespace platform {

// The volume identifier of the ISO 9660 primary volume descriptor (sector 16), trailing blanks
// removed; empty when there is none.
std::string ReadIso9660Label(std::istream& volume);

// The volume identifier of the UDF primary volume descriptor found through the anchor at
// sector 256; empty when there is none.
std::string ReadUdfLabel(std::istream& volume);

// The label of the file system on device: ISO 9660, else UDF; when the device cannot be read
// (no permission), the name udev gave it below /dev/disk/by-label; else empty.
std::string ReadVolumeLabel(const std::string& device);

} // namespace platform
