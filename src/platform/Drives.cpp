#include "platform/Drives.h"

#include "platform/ConfigFolder.h"
#include "platform/FileSystem.h"
#include "platform/Folders.h"
#include "platform/VolumeLabel.h"
#include "rtl/StrUtils.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

namespace platform {

namespace {

// Splits off the first word (or double-quoted text) of text.
std::string TakeWord(std::string_view& text) {
    text = rtl::TrimWhiteSpace(text);
    std::size_t end = 0;
    std::string word;
    if (!text.empty() && text.front() == '"') {
        end = text.find('"', 1);
        if (end == std::string_view::npos)
            end = text.size();
        word = std::string(text.substr(1, end - 1));
        ++end;
    } else {
        while (end < text.size() && !std::isspace(static_cast<unsigned char>(text[end])))
            ++end;
        word = std::string(text.substr(0, end));
    }
    text.remove_prefix(std::min(end, text.size()));
    return word;
}

std::optional<DriveType> ParseDriveType(const std::string& word) {
    const std::string upper = rtl::UpperCaseAscii(word);
    if (upper.empty() || upper == "FIXED")
        return DriveType::Fixed;
    if (upper == "REMOVABLE")
        return DriveType::Removable;
    if (upper == "CDROM" || upper == "CD-ROM")
        return DriveType::CdRom;
    if (upper == "REMOTE")
        return DriveType::Remote;
    return std::nullopt;
}

std::string NormalFolder(std::string folder, const std::string& homeFolder) {
    if (folder == "~" || folder.starts_with("~/"))
        folder = homeFolder + folder.substr(1);
    return WithoutTrailingSlashes(std::filesystem::path(folder).lexically_normal().string());
}

void ParseDrivesLine(std::string_view line, const std::string& homeFolder, DrivesFile& file) {
    line = rtl::TrimWhiteSpace(line);
    const std::size_t equals = line.find('=');
    if (line.empty() || line.front() == '#' || line.front() == ';' || equals == std::string::npos)
        return;
    std::string name(rtl::TrimWhiteSpace(line.substr(0, equals)));
    if (!name.empty())
        name[0] = LowerDriveLetter(name[0]);
    std::string_view rest = line.substr(equals + 1);
    const std::string folder = TakeWord(rest);
    if (folder.empty())
        return;
    if (const auto port = SerialPortNumber(name)) {
        file.serialPorts[*port] = folder;
        return;
    }
    if (name.size() != 2 || name[1] != ':' || name[0] < 'a' || name[0] > 'z')
        return;
    const auto type = ParseDriveType(TakeWord(rest));
    if (!type)
        return;
    Drive drive{name[0], NormalFolder(folder, homeFolder), *type,
                std::string(rtl::TrimWhiteSpace(rest))};
    std::erase_if(file.drives, [&](const Drive& d) { return d.letter == drive.letter; });
    file.drives.push_back(std::move(drive));
}

bool IsOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

// Mount tables escape blanks, tabs, newlines and backslashes as three octal digits.
std::string UnescapeMountField(std::string_view field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        const bool octal = field[i] == '\\' && i + 3 < field.size() && IsOctalDigit(field[i + 1]) &&
                           IsOctalDigit(field[i + 2]) && IsOctalDigit(field[i + 3]);
        if (octal) {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                     (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

std::string ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool FolderHolds(const std::string& folder, const std::string& path) {
    if (folder == "/")
        return path.starts_with('/');
    return path == folder || (path.starts_with(folder) && path[folder.size()] == '/');
}

std::string NoLabel(const std::string&) {
    return {};
}

std::optional<char> RootLetter(std::string_view root) {
    if (root.empty() || !std::isalpha(static_cast<unsigned char>(root[0])))
        return std::nullopt;
    const std::string_view rest = root.substr(1);
    if (!(rest.empty() || rest == ":" || rest == ":\\" || rest == ":/"))
        return std::nullopt;
    return LowerDriveLetter(root[0]);
}

} // namespace

DrivesFile ParseDrivesFile(std::string_view text, const std::string& homeFolder) {
    DrivesFile file;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        ParseDrivesLine(text.substr(start, end - start), homeFolder, file);
        start = end + 1;
    }
    return file;
}

std::vector<CdMount> ParseCdMounts(std::string_view mountTable) {
    std::vector<CdMount> mounts;
    std::istringstream lines{std::string(mountTable)};
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string device, mountPoint, type;
        if (fields >> device >> mountPoint >> type && (type == "iso9660" || type == "udf"))
            mounts.push_back({UnescapeMountField(device), UnescapeMountField(mountPoint)});
    }
    return mounts;
}

DriveTable DriveTable::Build(const DrivesFile& file, const std::string& homeFolder,
                             const std::vector<CdMount>& mounts,
                             std::string (*labelOf)(const std::string& device)) {
    DriveTable table(file.drives);
    if (!table.Find('c'))
        table.drives_.push_back({'c', NormalFolder(homeFolder, homeFolder), DriveType::Fixed, {}});
    char next = 'd';
    for (const CdMount& mount : mounts) {
        const std::string folder = NormalFolder(mount.mountPoint, homeFolder);
        const auto named = std::find_if(table.drives_.begin(), table.drives_.end(),
                                        [&](const Drive& d) { return d.folder == folder; });
        if (named != table.drives_.end()) {
            if (named->type == DriveType::CdRom && named->label.empty())
                named->label = labelOf(mount.device);
            continue;
        }
        while (next <= 'z' && table.Find(next))
            ++next;
        if (next > 'z')
            break;
        table.drives_.push_back({next, folder, DriveType::CdRom, labelOf(mount.device)});
    }
    std::sort(table.drives_.begin(), table.drives_.end(),
              [](const Drive& a, const Drive& b) { return a.letter < b.letter; });
    return table;
}

const Drive* DriveTable::Find(char letter) const {
    const char wanted = LowerDriveLetter(letter);
    const auto it = std::find_if(drives_.begin(), drives_.end(),
                                 [&](const Drive& d) { return d.letter == wanted; });
    return it == drives_.end() ? nullptr : &*it;
}

const Drive* DriveTable::FindHolding(const std::string& nativePath) const {
    const Drive* best = nullptr;
    for (const Drive& drive : drives_)
        if (FolderHolds(drive.folder, nativePath) &&
            (best == nullptr || drive.folder.size() > best->folder.size()))
            best = &drive;
    return best;
}

DriveTable LoadDriveTable(bool readLabels) {
    return DriveTable::Build(ReadDrivesFile(), HomeFolder(),
                             ParseCdMounts(ReadWholeFile("/proc/self/mounts")),
                             readLabels ? &ReadVolumeLabel : &NoLabel);
}

DriveType GetDriveType(std::string_view root) {
    const auto letter = RootLetter(root);
    const DriveTable table = LoadDriveTable(false);
    const Drive* drive = letter ? table.Find(*letter) : nullptr;
    return drive ? drive->type : DriveType::NoRootDir;
}

std::optional<std::string> GetVolumeLabel(std::string_view root) {
    const auto letter = RootLetter(root);
    const DriveTable table = LoadDriveTable();
    const Drive* drive = letter ? table.Find(*letter) : nullptr;
    std::error_code error;
    if (drive == nullptr || !std::filesystem::is_directory(drive->folder, error))
        return std::nullopt;
    return drive->label;
}

char LowerDriveLetter(char letter) {
    return rtl::LowerCaseAscii(letter);
}

std::optional<int> SerialPortNumber(std::string_view name) {
    long long number = 0;
    if (name.size() < 4 || !rtl::SameTextAscii(name.substr(0, 3), "COM") ||
        !rtl::TryStrToInt(name.substr(3), number) || number < 1 || number > 255)
        return std::nullopt;
    return static_cast<int>(number);
}

DrivesFile ReadDrivesFile() {
    return ParseDrivesFile(ReadWholeFile(ConfigFolderPath() / "drives"), HomeFolder());
}

} // namespace platform
