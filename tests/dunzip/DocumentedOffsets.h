// The command block's layout as dunzip.h documents it, for this build's pointer size: the one
// table that both sides of the boundary, the library and the component, are tested against.
#pragma once

#include <cstddef>

namespace documented_offsets {

constexpr bool k64 = sizeof(void*) == 8;

constexpr std::size_t At(std::size_t offset32, std::size_t offset64) {
    return k64 ? offset64 : offset32;
}

constexpr std::size_t kBlockSize = At(142, 202);
constexpr std::size_t kOtherBuildsBlockSize = At(202, 142);
constexpr std::size_t kFunctionCode = 4;
constexpr std::size_t kZipFile = 8;
constexpr std::size_t kItemInfo = At(12, 16);
constexpr std::size_t kFileSpec = At(16, 24);
constexpr std::size_t kItemIndex = At(20, 32);
constexpr std::size_t kDestination = At(24, 36);
constexpr std::size_t kFreshen = At(28, 44);
constexpr std::size_t kMinorStatus = At(60, 76);
constexpr std::size_t kMinorUserData = At(64, 84);
constexpr std::size_t kMajorStatus = At(68, 92);
constexpr std::size_t kMajorUserData = At(72, 100);
constexpr std::size_t kReturnCount = At(76, 108);
constexpr std::size_t kReturnString = At(80, 112);
constexpr std::size_t kDiagnostic = At(84, 120);
constexpr std::size_t kDecryptCode = At(96, 132);
constexpr std::size_t kMessage = At(100, 140);
constexpr std::size_t kMessageUserData = At(104, 148);
constexpr std::size_t kSubOptions = At(108, 156);
constexpr std::size_t kZero = At(110, 158);
constexpr std::size_t kRename = At(118, 166);
constexpr std::size_t kRenameUserData = At(122, 174);
constexpr std::size_t kExtProgTitle = At(126, 182);
constexpr std::size_t kUnused1 = At(130, 190);

// The 32-bit Boolean of the flag with this ordinal (FreshenFlag 0 … DecryptFlag 10): eight in a
// row from kFreshen, three from kDiagnostic.
constexpr std::size_t Flag(std::size_t ordinal) {
    return ordinal < 8 ? kFreshen + 4 * ordinal : kDiagnostic + 4 * (ordinal - 8);
}
constexpr std::size_t kOverwrite = Flag(2);

} // namespace documented_offsets
