// TUnzipFile: the unzip component. Its published parameters go into the library's command block
// (layout in dunzip/dunzip.h), and Execute hands the block to the entry dunzip of the loaded
// library (UnzipLibrary.h). Function code 8 extracts the members of lpszZipFile that match
// lpszFileSpec into lpszDestination, with progress through OnMinorCallback and questions
// through OnMessageCallback.
#pragma once

#include "dunzip/dunzip.h"
#include "install/DynaZip.h"
#include "install/LPStr.h"

#include <array>
#include <cstdint>
#include <memory>

namespace install {

enum class TUnzipFlag {
    FreshenFlag,
    UpdateFlag,
    OverWriteFlag,
    QuietFlag,
    TestFlag,
    NoDirectoryNamesFlag,
    RecurseFlag,
    NoDirectoryItemsFlag,
    bDiagnostic,
    bLF2CRLFFlag,
    DecryptFlag
};

enum class TUnzipSubOption {
    USO_OVERWRITE_RO,
    USO_MINORCANCEL,
    USO_EXTERNALPROG,
    USO_EXTPROGCANCEL,
    USO_IGNORELONGNAMES,
    USO_MANGLELONGNAMES
};

// A set of enumeration values, one bit per ordinal, in Bits.
template <typename Enum, typename Bits> class TSmallSet {
public:
    TSmallSet() = default;
    TSmallSet(std::initializer_list<Enum> members) {
        for (Enum member : members)
            Include(member);
    }
    bool Contains(Enum member) const { return (bits_ & Bit(member)) != 0; }
    void Include(Enum member) { bits_ = static_cast<Bits>(bits_ | Bit(member)); }
    void Exclude(Enum member) { bits_ = static_cast<Bits>(bits_ & ~Bit(member)); }
    Bits AsBits() const { return bits_; }

private:
    static Bits Bit(Enum member) { return static_cast<Bits>(1U << static_cast<unsigned>(member)); }

    Bits bits_ = 0;
};

using TUnzipFlags = TSmallSet<TUnzipFlag, std::uint16_t>;
using TUnzipSubOptions = TSmallSet<TUnzipSubOption, std::uint8_t>;

class TUnzipFile : public TDynaZip {
public:
    static constexpr std::size_t kItemInfoSize = 310;

    explicit TUnzipFile(rtl::TComponent* owner);

    TLPStr lpszZipFile;
    TLPStr lpszFileSpec;
    std::int32_t IndexofItem = 0;
    TLPStr lpszDestination;
    TUnzipFlags Options;
    TLPStr lpszDecryptCode;
    TUnzipSubOptions wUnzipSubOptions;
    TLPStr lpszExtProgTitle;
    TLPStr lpszReturnString;
    // Carried into each call; after a successful one, what the library returned in the block.
    std::int32_t ReturnCount = 0;

    // False without calling the library for a code outside 1 to 9 or when no library is
    // loaded; otherwise whether dunzip returned 0. An error raised by a handler during the call
    // is raised again here.
    bool Execute(std::int32_t code);

    const DunzipCommandBlock& CommandBlock() const { return block_; }
    std::uint8_t* ItemInfo() const { return itemInfo_.get(); }

private:
    void BuildBlock();

    // Go into the block as they are; nothing sets them.
    std::int32_t unused1_ = 0;
    std::int32_t unused2_ = 0;
    std::int32_t unused3_ = 0;
    DunzipCommandBlock block_{};
    std::unique_ptr<std::uint8_t[]> itemInfo_;
};

} // namespace install
