#include "util/CatalogueCd.h"

#include "platform/Drives.h"
#include "rtl/StrUtils.h"
#include "util/AppSettings.h"

#include <string>

namespace util {

char FindCDDrive() {
    for (char letter = 'a'; letter <= 'z'; ++letter)
        if (platform::GetDriveType(std::string{letter, ':', '\\'}) == platform::DriveType::CdRom)
            return letter;
    return ' ';
}

bool IsCatalogueCDInserted() {
    const char drive = FindCDDrive();
    if (drive == ' ')
        return false;
    const auto label = platform::GetVolumeLabel(std::string{drive, ':', '\\'});
    return label && rtl::UpperCaseAscii(*label) == Settings().CDVolumeLabel;
}

} // namespace util
