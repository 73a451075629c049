// Windows error numbers: the result codes of the registry calls (Registry.h) and the numbers the
// runtime's input/output errors carry (rtl::EInOutError), the latter from the errno values of the
// system calls underneath.
#pragma once

namespace platform {

inline constexpr int ERROR_SUCCESS = 0;
inline constexpr int ERROR_FILE_NOT_FOUND = 2;
inline constexpr int ERROR_PATH_NOT_FOUND = 3;
inline constexpr int ERROR_TOO_MANY_OPEN_FILES = 4;
inline constexpr int ERROR_ACCESS_DENIED = 5;
inline constexpr int ERROR_INVALID_HANDLE = 6;
inline constexpr int ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr int ERROR_NOT_SAME_DEVICE = 17;
inline constexpr int ERROR_WRITE_PROTECT = 19;
inline constexpr int ERROR_NOT_READY = 21;
// Any failure without a closer number.
inline constexpr int ERROR_GEN_FAILURE = 31;
inline constexpr int ERROR_SHARING_VIOLATION = 32;
inline constexpr int ERROR_FILE_EXISTS = 80;
inline constexpr int ERROR_INVALID_PARAMETER = 87;
inline constexpr int ERROR_DISK_FULL = 112;
inline constexpr int ERROR_DIR_NOT_EMPTY = 145;
inline constexpr int ERROR_FILENAME_EXCED_RANGE = 206;
inline constexpr int ERROR_MORE_DATA = 234;
inline constexpr int ERROR_KEY_DELETED = 1018;

// The Windows error number for errno; 0 stays 0.
int IoErrorFromErrno(int errnoValue);

// The Windows error number for the calling thread's current errno.
int LastIoError();

} // namespace platform
