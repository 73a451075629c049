// The registry in Windows terms, kept in one text file per root key in the configuration folder
// ("HKEY_LOCAL_MACHINE.reg", "HKEY_CURRENT_USER.reg"; format in RegistryHive.h). Calls return
// the Windows result codes (IoError.h). Every change takes an exclusive lock (flock on
// "<root>.reg.lock"), reads the file anew, applies the change and writes a temporary file that is
// renamed over the old one, so neither a second process nor a crash loses a value. Reads take the
// file as it is; the rename makes every state they can see a whole one. An open key is only a name:
// a key deleted by someone else reads as missing.
#pragma once

#include "platform/IoError.h"

#include <cstdint>
#include <string_view>

namespace platform {

using HKEY = std::uintptr_t;
using LONG = std::int32_t;
using DWORD = std::uint32_t;

inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002;

inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;

// key is a root or an open key; subKey is below it ("SOFTWARE\\Kestrova", "" for key itself).
// Creates missing keys on the way; ERROR_ACCESS_DENIED when the file cannot be written.
LONG RegCreateKeyEx(HKEY key, std::string_view subKey, HKEY& result);
// ERROR_FILE_NOT_FOUND when the key does not exist.
LONG RegOpenKeyEx(HKEY key, std::string_view subKey, HKEY& result);
LONG RegCloseKey(HKEY key);
// Deletes a key without sub-keys (ERROR_ACCESS_DENIED if it has some).
LONG RegDeleteKey(HKEY key, std::string_view subKey);

// On entry *dataSize is the size of data; on return the size of the value. data may be null to
// ask for the size only. A value longer than *dataSize gives ERROR_MORE_DATA. type may be null.
LONG RegQueryValueEx(HKEY key, std::string_view valueName, DWORD* type, void* data,
                     DWORD* dataSize);
LONG RegSetValueEx(HKEY key, std::string_view valueName, DWORD type, const void* data,
                   DWORD dataSize);

} // namespace platform
