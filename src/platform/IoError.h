// The Windows error numbers the runtime's input/output errors carry (rtl::EInOutError), from the
// errno values of the system calls underneath.
#pragma once

namespace platform {

inline constexpr int kErrorFileNotFound = 2;
inline constexpr int kErrorPathNotFound = 3;
inline constexpr int kErrorAccessDenied = 5;
inline constexpr int kErrorDiskFull = 112;
inline constexpr int kErrorDirNotEmpty = 145;
// Any failure without a closer number.
inline constexpr int kErrorGenFailure = 31;

// The Windows error number for errno; 0 stays 0.
int IoErrorFromErrno(int errnoValue);

// The Windows error number for the calling thread's current errno.
int LastIoError();

} // namespace platform
