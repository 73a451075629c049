#include "install/UnzipFile.h"

#include "install/UnzipLibrary.h"

#include <algorithm>
#include <limits>

namespace install {

namespace {

constexpr std::int32_t kLastFunctionCode = 9;
constexpr std::int32_t kReturnStringFunction = 6;

std::int32_t Flag(const TUnzipFlags& options, TUnzipFlag flag) {
    return options.Contains(flag) ? 1 : 0;
}

} // namespace

TUnzipFile::TUnzipFile(rtl::TComponent* owner)
    : TDynaZip(owner), itemInfo_(std::make_unique<std::uint8_t[]>(kItemInfoSize)) {}

void TUnzipFile::BuildBlock() {
    block_ = DunzipCommandBlock{};
    block_.blockSize = static_cast<std::int32_t>(sizeof(DunzipCommandBlock));
    block_.itemIndex = IndexofItem;
    block_.itemInfo = itemInfo_.get();
    block_.unused1 = unused1_;
    block_.unused2 = unused2_;
    block_.unused3 = unused3_;

    void* self = static_cast<TDynaZip*>(this);
    block_.minorStatus = &TDynaZip::MinorCallback;
    block_.minorUserData = self;
    block_.majorStatus = &TDynaZip::MajorCallback;
    block_.majorUserData = self;
    block_.message = &TDynaZip::MessageCallback;
    block_.messageUserData = self;
    block_.rename = &TDynaZip::RenameCallback;
    block_.renameUserData = self;

    block_.freshen = Flag(Options, TUnzipFlag::FreshenFlag);
    block_.update = Flag(Options, TUnzipFlag::UpdateFlag);
    block_.overwrite = Flag(Options, TUnzipFlag::OverWriteFlag);
    block_.quiet = Flag(Options, TUnzipFlag::QuietFlag);
    block_.test = Flag(Options, TUnzipFlag::TestFlag);
    block_.noDirectoryNames = Flag(Options, TUnzipFlag::NoDirectoryNamesFlag);
    block_.recurse = Flag(Options, TUnzipFlag::RecurseFlag);
    block_.noDirectoryItems = Flag(Options, TUnzipFlag::NoDirectoryItemsFlag);
    block_.diagnostic = Flag(Options, TUnzipFlag::bDiagnostic);
    block_.lfToCrLf = Flag(Options, TUnzipFlag::bLF2CRLFFlag);
    block_.decrypt = Flag(Options, TUnzipFlag::DecryptFlag);
    block_.subOptions = wUnzipSubOptions.AsBits();

    block_.zipFile = lpszZipFile.Buffer();
    block_.fileSpec = lpszFileSpec.Buffer();
    block_.destination = lpszDestination.Buffer();
    block_.decryptCode = lpszDecryptCode.Buffer();
    block_.extProgTitle = lpszExtProgTitle.Buffer();
    block_.returnString = lpszReturnString.Buffer();
    block_.returnCount = ReturnCount;
}

bool TUnzipFile::Execute(std::int32_t code) {
    const TDunzipEntry dunzip = DunzipEntry();
    if (code <= 0 || code > kLastFunctionCode || dunzip == nullptr)
        return false;
    if (code == kReturnStringFunction) {
        // Room for ReturnCount characters, within what a TLPStr can hold.
        const auto capacity = std::clamp<std::int64_t>(std::int64_t{ReturnCount} + 1, 1,
                                                       std::numeric_limits<std::uint16_t>::max());
        lpszReturnString.SetSize(static_cast<std::uint16_t>(capacity));
    }
    BuildBlock();
    block_.functionCode = code;
    BeginLibraryCall();
    const std::int32_t result = dunzip(&block_);
    EndLibraryCall();
    if (result != 0)
        return false;
    ReturnCount = block_.returnCount;
    return true;
}

} // namespace install
