#include "dunzip/Extraction.h"

#include "dunzip/MemberPath.h"
#include "dunzip/Texts.h"
#include "dunzip/dunzip.h"
#include "platform/CodePage.h"
#include "platform/ConfinedFolder.h"
#include "platform/IoError.h"
#include "platform/Wildcard.h"
#include "rtl/Exceptions.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <vector>

namespace unzip {

namespace {

constexpr std::size_t kBufferSize = 256 * 1024;
constexpr int kFullPercent = 100;

// The attributes of a member: DOS attributes in the low byte; archivers on Unix put the file
// mode in the high half, with these values.
constexpr zip_uint32_t kDosReadOnly = 0x01;
constexpr zip_uint32_t kUnixTypeMask = 0170000;
constexpr zip_uint32_t kUnixLink = 0120000;
constexpr zip_uint32_t kUnixOwnerWrite = 0200;

// A member that is refused or failed: the run reports it and goes on with the next member. The
// cause filled into the text is either a text of its own (with the detail filled in) or the
// detail itself.
struct MemberStopped {
    int reason;
    int detail = 0;
    int text;
    int causeText = 0;
};

// The run ends: the user cancelled.
struct RunCancelled {};

struct FileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using MemberFile = std::unique_ptr<zip_file_t, FileCloser>;

MemberStopped StopForZipError(int zipError, const zip_stat_t& stat) {
    switch (zipError) {
    case ZIP_ER_CRC:
        return {DUNZIP_STOP_CRC, 0, DUNZIP_TEXT_CRC};
    case ZIP_ER_COMPNOTSUPP:
        return {DUNZIP_STOP_METHOD, stat.comp_method, DUNZIP_TEXT_METHOD};
    case ZIP_ER_ENCRNOTSUPP:
    case ZIP_ER_NOPASSWD:
    case ZIP_ER_WRONGPASSWD:
        return {DUNZIP_STOP_ENCRYPTED, 0, DUNZIP_TEXT_ENCRYPTED};
    default:
        return {DUNZIP_STOP_DAMAGED, zipError, DUNZIP_TEXT_DAMAGED, ZipErrorCauseText(zipError)};
    }
}

MemberStopped StopForIoError(int errorCode) {
    if (errorCode == platform::ERROR_DISK_FULL)
        return {DUNZIP_STOP_DISK_FULL, errorCode, DUNZIP_TEXT_DISK_FULL};
    return {DUNZIP_STOP_WRITE, errorCode, DUNZIP_TEXT_WRITE};
}

MemberStopped StopThroughLink() {
    return {DUNZIP_STOP_THROUGH_LINK, 0, DUNZIP_TEXT_THROUGH_LINK};
}

// The member's attributes as its archiver stored them.
struct MemberAttributes {
    bool symbolicLink = false;
    bool readOnly = false;
};

MemberAttributes AttributesOf(zip_t& archive, zip_uint64_t index) {
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(&archive, index, 0, &system, &attributes) != 0)
        return {};
    const zip_uint32_t mode = attributes >> 16;
    const bool unixMode = system == ZIP_OPSYS_UNIX && mode != 0;
    MemberAttributes result;
    result.symbolicLink = unixMode && (mode & kUnixTypeMask) == kUnixLink;
    result.readOnly =
        (attributes & kDosReadOnly) != 0 || (unixMode && (mode & kUnixOwnerWrite) == 0);
    return result;
}

bool IsSupportedMethod(zip_uint16_t method) {
    return method == ZIP_CM_STORE || method == ZIP_CM_DEFLATE;
}

// done × 100 / total without overflow, for any size an archive may claim.
int Percent(zip_uint64_t done, zip_uint64_t total) {
    if (total == 0 || done >= total)
        return kFullPercent;
    constexpr zip_uint64_t kExact = std::numeric_limits<zip_uint64_t>::max() / kFullPercent;
    return static_cast<int>(total <= kExact ? done * kFullPercent / total
                                            : done / (total / kFullPercent));
}

class Extraction {
public:
    Extraction(zip_t& archive, const ExtractOptions& options, Host& host)
        : archive_(archive), options_(options), host_(host), buffer_(kBufferSize) {}

    ExtractResult Run();

private:
    void UnpackMember(zip_uint64_t index);
    void UnpackFile(zip_uint64_t index, const zip_stat_t& stat, const MemberPath& path,
                    bool readOnly, const std::string& shownName);
    // The folder that holds the last of count parts, created on the way.
    platform::ConfinedFolder EnterFolders(const MemberPath& path, std::size_t count) const;
    // Whether the target may be written: missing, or an existing file the user lets replace.
    bool MayWrite(const platform::ConfinedFolder& folder, const MemberPath& path);
    void CopyData(zip_file_t& file, const zip_stat_t& stat, platform::PendingFile& target,
                  const std::string& item);
    std::string TargetShown(const MemberPath& path) const;
    void Report(const MemberStopped& stop, const std::string& shownName);
    void ReportRun(int reason, int text, const std::string& argument);

    zip_t& archive_;
    const ExtractOptions& options_;
    Host& host_;
    std::unique_ptr<platform::ConfinedFolder> destination_;
    std::vector<char> buffer_;
    int filesWritten_ = 0;
    bool anyStopped_ = false;
};

ExtractResult Extraction::Run() {
    try {
        destination_ = std::make_unique<platform::ConfinedFolder>(options_.destination);
    } catch (const rtl::EInOutError&) {
        ReportRun(DUNZIP_STOP_DESTINATION, DUNZIP_TEXT_NO_DESTINATION, options_.destinationShown);
        return {DUNZIP_NO_DESTINATION, 0};
    }
    const zip_int64_t count = zip_get_num_entries(&archive_, 0);
    for (zip_int64_t index = 0; index < count; ++index) {
        try {
            UnpackMember(static_cast<zip_uint64_t>(index));
            const int percent =
                Percent(static_cast<zip_uint64_t>(index) + 1, static_cast<zip_uint64_t>(count));
            if (host_.MajorStatus(options_.archiveShown, percent))
                throw RunCancelled();
        } catch (const RunCancelled&) {
            ReportRun(DUNZIP_STOP_CANCELLED, DUNZIP_TEXT_CANCELLED, {});
            return {DUNZIP_CANCELLED, filesWritten_};
        }
    }
    return {anyStopped_ ? DUNZIP_MEMBER_FAILED : DUNZIP_OK, filesWritten_};
}

void Extraction::UnpackMember(zip_uint64_t index) {
    const char* storedName = zip_get_name(&archive_, index, ZIP_FL_ENC_STRICT);
    const std::string name = storedName != nullptr ? storedName : "";
    const std::string shownName = platform::Utf8ToAnsi1252Lossy(name);
    if (!platform::MatchesWildcard(LastNamePart(name), options_.fileSpec) &&
        !platform::MatchesWildcard(name, options_.fileSpec))
        return;
    try {
        zip_stat_t stat;
        if (storedName == nullptr || zip_stat_index(&archive_, index, 0, &stat) != 0)
            throw StopForZipError(zip_error_code_zip(zip_get_error(&archive_)), {});
        const auto path = SplitMemberName(name);
        if (!path)
            throw MemberStopped{DUNZIP_STOP_UNSAFE_PATH, 0, DUNZIP_TEXT_UNSAFE_PATH};
        const MemberAttributes attributes = AttributesOf(archive_, index);
        if (attributes.symbolicLink)
            throw MemberStopped{DUNZIP_STOP_LINK_MEMBER, 0, DUNZIP_TEXT_LINK_MEMBER};
        if (path->isFolder)
            EnterFolders(*path, path->parts.size());
        else
            UnpackFile(index, stat, *path, attributes.readOnly, shownName);
    } catch (const MemberStopped& stop) {
        Report(stop, shownName);
    } catch (const rtl::EInOutError& error) {
        Report(StopForIoError(error.ErrorCode()), shownName);
    }
}

void Extraction::UnpackFile(zip_uint64_t index, const zip_stat_t& stat, const MemberPath& path,
                            bool readOnly, const std::string& shownName) {
    if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) != 0 && stat.encryption_method != ZIP_EM_NONE)
        throw MemberStopped{DUNZIP_STOP_ENCRYPTED, 0, DUNZIP_TEXT_ENCRYPTED};
    if ((stat.valid & ZIP_STAT_COMP_METHOD) == 0 || !IsSupportedMethod(stat.comp_method))
        throw StopForZipError(ZIP_ER_COMPNOTSUPP, stat);
    const platform::ConfinedFolder folder = EnterFolders(path, path.parts.size() - 1);
    if (!MayWrite(folder, path))
        return;
    const MemberFile file(zip_fopen_index(&archive_, index, 0));
    if (!file)
        throw StopForZipError(zip_error_code_zip(zip_get_error(&archive_)), stat);
    platform::PendingFile target(folder);
    const std::string item = FillText(host_.Text(DUNZIP_TEXT_UNPACKING), {shownName});
    CopyData(*file, stat, target, item);
    const std::time_t modified = (stat.valid & ZIP_STAT_MTIME) != 0 ? stat.mtime : 0;
    target.Commit(path.parts.back(), readOnly, modified);
    ++filesWritten_;
}

platform::ConfinedFolder Extraction::EnterFolders(const MemberPath& path, std::size_t count) const {
    platform::ConfinedFolder folder = destination_->Duplicate();
    for (std::size_t i = 0; i < count; ++i) {
        const platform::EntryKind kind = folder.Look(path.parts[i]).kind;
        if (kind == platform::EntryKind::Link)
            throw StopThroughLink();
        if (kind != platform::EntryKind::Missing && kind != platform::EntryKind::Folder)
            throw StopForIoError(platform::ERROR_PATH_NOT_FOUND);
        folder = folder.Enter(path.parts[i]);
    }
    return folder;
}

bool Extraction::MayWrite(const platform::ConfinedFolder& folder, const MemberPath& path) {
    const platform::EntryInfo target = folder.Look(path.parts.back());
    switch (target.kind) {
    case platform::EntryKind::Missing:
        return true;
    case platform::EntryKind::Link:
        throw StopThroughLink();
    case platform::EntryKind::File:
        break;
    default:
        throw StopForIoError(platform::ERROR_ACCESS_DENIED);
    }
    if (options_.overwrite && (!target.readOnly || options_.overwriteReadOnly))
        return true;
    const int question = target.readOnly ? DUNZIP_TEXT_OVERWRITE_READONLY : DUNZIP_TEXT_OVERWRITE;
    const int answer = host_.Ask(FillText(host_.Text(question), {TargetShown(path)}),
                                 host_.Text(DUNZIP_TEXT_CAPTION));
    if (answer == DUNZIP_CANCEL)
        throw RunCancelled();
    return answer == DUNZIP_YES;
}

void Extraction::CopyData(zip_file_t& file, const zip_stat_t& stat, platform::PendingFile& target,
                          const std::string& item) {
    const zip_uint64_t size = (stat.valid & ZIP_STAT_SIZE) != 0 ? stat.size : 0;
    zip_uint64_t done = 0;
    int shownPercent = 0;
    if (host_.MinorStatus(item, 0))
        throw RunCancelled();
    for (;;) {
        const zip_int64_t got = zip_fread(&file, buffer_.data(), buffer_.size());
        if (got < 0)
            throw StopForZipError(zip_error_code_zip(zip_file_get_error(&file)), stat);
        if (got == 0)
            break;
        target.Write(buffer_.data(), static_cast<std::size_t>(got));
        done += static_cast<zip_uint64_t>(got);
        const int percent = std::min(Percent(done, size), kFullPercent - 1);
        if (percent != shownPercent) {
            shownPercent = percent;
            if (host_.MinorStatus(item, percent))
                throw RunCancelled();
        }
    }
    if (done != size)
        throw MemberStopped{DUNZIP_STOP_DAMAGED, 0, DUNZIP_TEXT_DAMAGED, DUNZIP_TEXT_SIZE_MISMATCH};
    if (host_.MinorStatus(item, kFullPercent))
        throw RunCancelled();
}

std::string Extraction::TargetShown(const MemberPath& path) const {
    const char separator = HasDriveLetter(options_.destinationShown) ? '\\' : '/';
    std::string shown = options_.destinationShown;
    for (const std::string& part : path.parts) {
        if (!shown.empty() && shown.back() != separator)
            shown += separator;
        shown += platform::Utf8ToAnsi1252Lossy(part);
    }
    return shown;
}

void Extraction::Report(const MemberStopped& stop, const std::string& shownName) {
    anyStopped_ = true;
    const std::string detail = std::to_string(stop.detail);
    const std::string cause =
        stop.causeText != 0 ? FillText(host_.Text(stop.causeText), {detail}) : detail;
    host_.Stopped(stop.reason, stop.detail, FillText(host_.Text(stop.text), {shownName, cause}),
                  host_.Text(DUNZIP_TEXT_WARNING_CAPTION));
}

void Extraction::ReportRun(int reason, int text, const std::string& argument) {
    host_.Stopped(reason, 0, FillText(host_.Text(text), {argument}),
                  host_.Text(DUNZIP_TEXT_CAPTION));
}

} // namespace

std::string ZipErrorCause(Host& host, int zipError) {
    return FillText(host.Text(ZipErrorCauseText(zipError)), {std::to_string(zipError)});
}

ExtractResult Extract(zip_t& archive, const ExtractOptions& options, Host& host) {
    return Extraction(archive, options, host).Run();
}

} // namespace unzip
