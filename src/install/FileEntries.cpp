#include "install/FileEntries.h"

#include "platform/CodePage.h"
#include "platform/DosPath.h"
#include "platform/Drives.h"
#include "platform/FileSearch.h"
#include "platform/FileSystem.h"
#include "rtl/StrUtils.h"

#include <algorithm>
#include <limits>
#include <new>

namespace install {

namespace {

bool LessNoCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(rtl::UpperCaseAscii(x)) <
               static_cast<unsigned char>(rtl::UpperCaseAscii(y));
    });
}

std::string ListedName(const std::string& nativeName, bool upperCase) {
    const std::string ansi = platform::Utf8ToAnsi1252Lossy(nativeName);
    return upperCase ? rtl::UpperCaseAscii(ansi) : rtl::LowerCaseAscii(ansi);
}

TFileEntry EntryOf(const platform::SearchEntry& found, bool upperCase) {
    TFileEntry entry;
    entry.Name = ListedName(found.Name, upperCase);
    entry.NativeName = found.Name;
    entry.Attr = found.Attr;
    entry.Time = found.Time;
    entry.Size = static_cast<std::int32_t>(
        std::min<std::int64_t>(found.Size, std::numeric_limits<std::int32_t>::max()));
    entry.IsDir = (found.Attr & platform::faDirectory) != 0;
    return entry;
}

std::vector<std::string> MaskParts(const std::string& mask) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = mask.find(';', start);
        parts.push_back(mask.substr(start, end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}

void AddDrives(TSortFileList& drives, bool upperCase) {
    const platform::DriveTable table = platform::LoadDriveTable(false);
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        const platform::Drive* drive = table.Find(letter);
        if (drive == nullptr || drive->type == platform::DriveType::Unknown)
            continue;
        TFileEntry entry;
        entry.Name = std::string{upperCase ? rtl::UpperCaseAscii(letter) : letter} + ":";
        entry.IsDrive = true;
        drives.Append(std::move(entry));
    }
}

std::string Number(int value, bool twoDigits) {
    std::string text = std::to_string(value);
    return twoDigits && text.size() < 2 ? "0" + text : text;
}

std::string FormatDosDateTime(const std::string& format, std::uint32_t time) {
    const int month = static_cast<int>((time >> 21) & 0x0F);
    const int day = static_cast<int>((time >> 16) & 0x1F);
    const int year = 1980 + static_cast<int>(time >> 25);
    const int hour = static_cast<int>((time >> 11) & 0x1F);
    const int minute = static_cast<int>((time >> 5) & 0x3F);
    const int second = static_cast<int>(time & 0x1F) * 2;
    std::string out;
    for (std::size_t i = 0; i < format.size();) {
        const char c = rtl::LowerCaseAscii(format[i]);
        std::size_t run = 1;
        while (c != 't' && i + run < format.size() && rtl::LowerCaseAscii(format[i + run]) == c)
            ++run;
        const bool two = run >= 2;
        switch (c) {
        case 'm':
            out += Number(month, two);
            break;
        case 'd':
            out += Number(day, two);
            break;
        case 'y':
            out += run >= 4 ? Number(year, true) : Number(year % 100, true);
            break;
        case 'h':
            out += Number(hour, two);
            break;
        case 'n':
            out += Number(minute, two);
            break;
        case 's':
            out += Number(second, two);
            break;
        case 't':
            out += Number(hour, true) + ":" + Number(minute, true);
            break;
        default:
            out.append(run, format[i]);
        }
        i += run;
    }
    return out;
}

std::string FormatAttributes(std::string format, std::uint32_t attributes) {
    for (char& c : format) {
        const char letter = rtl::UpperCaseAscii(c);
        const std::uint32_t bit = letter == 'A'   ? platform::faArchive
                                  : letter == 'R' ? platform::faReadOnly
                                  : letter == 'S' ? platform::faSysFile
                                  : letter == 'H' ? platform::faHidden
                                                  : 0;
        if (bit != 0 && (attributes & bit) == 0)
            c = ' ';
    }
    return format;
}

// A printf-like format with one %s or %d conversion (flag "-", width, precision) and "%%".
std::string FormatPrintf(const std::string& format, const std::string& text, std::int64_t number) {
    std::string out;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            out += format[i];
            continue;
        }
        std::size_t j = i + 1;
        const bool left = j < format.size() && format[j] == '-';
        j += left ? 1 : 0;
        std::size_t width = 0;
        while (j < format.size() && format[j] >= '0' && format[j] <= '9' && width < 256)
            width = width * 10 + static_cast<std::size_t>(format[j++] - '0');
        std::size_t precision = std::string::npos;
        if (j < format.size() && format[j] == '.') {
            precision = 0;
            while (++j < format.size() && format[j] >= '0' && format[j] <= '9' && precision < 256)
                precision = precision * 10 + static_cast<std::size_t>(format[j] - '0');
        }
        if (j >= format.size())
            break;
        std::string value = format[j] == 'd'   ? std::to_string(number)
                            : format[j] == 's' ? text.substr(0, precision)
                                               : std::string(1, format[j]);
        if (value.size() < width)
            value.insert(left ? value.end() : value.begin(), width - value.size(), ' ');
        out += value;
        i = j;
    }
    return out;
}

} // namespace

void TSortFileList::InsertSorted(TFileEntry entry) {
    try {
        const auto at = std::lower_bound(entries_.begin(), entries_.end(), entry.Name,
                                         [](const TFileEntry& listed, const std::string& name) {
                                             return LessNoCase(listed.Name, name);
                                         });
        if (at != entries_.end() && rtl::SameTextAscii(at->Name, entry.Name))
            return;
        entries_.insert(at, std::move(entry));
    } catch (const std::bad_alloc&) {
        throw ESortFileList();
    }
}

void TFileGroups::Clear() {
    Files.Clear();
    Dirs.Clear();
    Drives.Clear();
}

std::vector<const TSortFileList*> TFileGroups::InOrder(TSortType sortType) const {
    switch (sortType) {
    case TSortType::stNameDirDrive:
        return {&Files, &Dirs, &Drives};
    case TSortType::stDirDriveName:
        return {&Dirs, &Drives, &Files};
    case TSortType::stDirNameDrive:
        break;
    }
    return {&Dirs, &Files, &Drives};
}

void ReadFileGroups(const TListSettings& settings, TFileGroups& groups) {
    groups.Clear();
    const bool showDirs = (settings.Show & sfsDirs) != 0;
    const std::string folder = platform::DosToNative(settings.Directory).value_or("");
    bool everyName = false;
    for (const std::string& part : MaskParts(settings.Mask)) {
        everyName = everyName || part == "*.*" || part == "*";
        if (folder.empty())
            break;
        for (const platform::SearchEntry& found :
             platform::FindFiles(folder + "/" + part, settings.FileTypes)) {
            if (found.Name == ".")
                continue;
            TFileEntry entry = EntryOf(found, settings.UpperCase);
            if (!entry.IsDir)
                groups.Files.InsertSorted(std::move(entry));
            else if (showDirs)
                groups.Dirs.InsertSorted(std::move(entry));
        }
    }
    // The folders that the mask did not name; a mask of every name has listed them all.
    if (!folder.empty() && showDirs && !everyName &&
        (settings.FileTypes & platform::faDirectory) != 0)
        for (const platform::SearchEntry& found :
             platform::FindFiles(folder + "/*.*", settings.FileTypes))
            if (found.Name != "." && (found.Attr & platform::faDirectory) != 0)
                groups.Dirs.InsertSorted(EntryOf(found, settings.UpperCase));
    if ((settings.Show & sfsDrives) != 0)
        AddDrives(groups.Drives, settings.UpperCase);
}

int FormatKindOf(TColumn column) {
    switch (column) {
    case TColumn::Name:
        return 0;
    case TColumn::Size:
        return 1;
    case TColumn::Date:
    case TColumn::Time:
        return 2;
    case TColumn::Attr:
        break;
    }
    return 3;
}

std::string DefaultFormat(TColumn column) {
    switch (column) {
    case TColumn::Name:
        return "%-12.12s";
    case TColumn::Size:
        return "%9d";
    case TColumn::Date:
        return "mm.dd.yy";
    case TColumn::Time:
        return "t";
    case TColumn::Attr:
        break;
    }
    return "ARSH";
}

std::string ColumnText(TColumn column, const std::string& format, const TFileEntry& entry) {
    switch (column) {
    case TColumn::Name:
        return FormatPrintf(format, entry.Name, 0);
    case TColumn::Size:
        return FormatPrintf(format, {}, entry.Size);
    case TColumn::Date:
    case TColumn::Time:
        return FormatDosDateTime(format, entry.Time);
    case TColumn::Attr:
        break;
    }
    return FormatAttributes(format, entry.Attr);
}

} // namespace install
