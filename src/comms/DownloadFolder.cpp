#include "comms/DownloadFolder.h"

#include "platform/IoError.h"
#include "platform/Wildcard.h"

#include <charconv>
#include <utility>

namespace comms {

namespace {

constexpr std::size_t kMaxNameLength = 200; // leaves room for the temporary name's additions
constexpr std::size_t kWriteChunk = 65536;

// The next blank-separated number of text in the given base, advancing text; nullopt if none.
std::optional<std::int64_t> TakeNumber(std::string_view& text, int base) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || value < 0)
        return std::nullopt;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return value;
}

bool HasControlCharacter(std::string_view name) {
    for (char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return true;
    return false;
}

} // namespace

FileOffer ParseFileInformation(std::string_view block) {
    FileOffer offer;
    const std::size_t nul = block.find('\0');
    offer.name = std::string(block.substr(0, nul));
    if (nul == std::string_view::npos)
        return offer;
    std::string_view numbers = block.substr(nul + 1);
    numbers = numbers.substr(0, numbers.find('\0'));
    if (const auto length = TakeNumber(numbers, 10)) {
        offer.length = *length;
        if (const auto modified = TakeNumber(numbers, 8))
            offer.modified = static_cast<std::time_t>(*modified);
    }
    return offer;
}

std::string SafeName(std::string_view sentName) {
    const std::size_t separator = sentName.find_last_of("/\\");
    if (separator != std::string_view::npos)
        sentName.remove_prefix(separator + 1);
    if (sentName.empty() || sentName == "." || sentName == ".." ||
        sentName.size() > kMaxNameLength || HasControlCharacter(sentName))
        return {};
    return std::string(sentName);
}

std::string FileErrorText(int error) {
    switch (error) {
    case platform::ERROR_DISK_FULL:
        return "Der Datentr\xE4ger ist voll";
    case platform::ERROR_ACCESS_DENIED:
    case platform::ERROR_WRITE_PROTECT:
        return "Keine Schreibberechtigung";
    case platform::ERROR_FILE_NOT_FOUND:
    case platform::ERROR_PATH_NOT_FOUND:
        return "Das Verzeichnis gibt es nicht";
    default:
        return "Schreibfehler " + std::to_string(error);
    }
}

DownloadFolder::DownloadFolder(std::string nativeFolder, std::string fileMask, bool recovery)
    : folderPath_(std::move(nativeFolder)), mask_(std::move(fileMask)), recovery_(recovery) {}

std::string DownloadFolder::FreeSafeName() const {
    for (int n = 1;; ++n) {
        std::string name = "Datei" + std::to_string(n);
        if (!folder_.Entry(name))
            return name;
    }
}

DownloadFolder::Start DownloadFolder::Begin(const FileOffer& offer) {
    Abandon();
    if (!folder_.IsOpen()) {
        if (const int error = folder_.Open(folderPath_))
            return {Decision::Fail, SafeName(offer.name), 0,
                    "Zielverzeichnis " + folderPath_ + ": " + FileErrorText(error)};
    }
    std::string name = SafeName(offer.name);
    if (name.empty())
        name = FreeSafeName();
    if (!platform::MatchesWildcard(name, mask_))
        return {Decision::Skip, name, 0, "passt nicht zur Dateimaske"};
    return Open(name, offer);
}

DownloadFolder::Start DownloadFolder::Open(const std::string& name, const FileOffer& offer) {
    const auto existing = folder_.Entry(name);
    std::string written = name;
    bool resumable = false;
    std::int64_t offset = 0;
    int error = 0;
    if (!existing) {
        error = folder_.Create(name, file_);
        resumable = recovery_;
    } else if (existing->regularFile && existing->size == offer.length && offer.modified != 0 &&
               existing->modified == offer.modified) {
        return {Decision::Skip, name, 0, "gleiche Datei ist schon vorhanden"};
    } else if (existing->regularFile && recovery_ && offer.resumeOffered &&
               existing->size < offer.length) {
        error = folder_.OpenToAppend(name, file_);
        offset = existing->size;
        resumable = true;
    } else {
        written = "." + name + ".teil";
        folder_.Remove(written);
        error = folder_.Create(written, file_);
    }
    if (error)
        return {Decision::Fail, name, 0, FileErrorText(error)};
    finalName_ = name;
    writtenName_ = std::move(written);
    modified_ = offer.modified;
    resumable_ = resumable;
    return {Decision::Receive, name, offset, {}};
}

int DownloadFolder::Write(std::string_view data) {
    buffer_ += data;
    return buffer_.size() >= kWriteChunk ? Flush() : 0;
}

int DownloadFolder::Flush() {
    const int error = file_.Write(buffer_.data(), buffer_.size());
    buffer_.clear();
    return error;
}

int DownloadFolder::Complete() {
    int error = Flush();
    if (error == 0 && modified_ != 0)
        error = file_.SetModified(modified_);
    if (const int closeError = file_.Close(); error == 0)
        error = closeError;
    if (error == 0 && writtenName_ != finalName_)
        error = folder_.Rename(writtenName_, finalName_);
    if (error != 0 && writtenName_ != finalName_)
        folder_.Remove(writtenName_);
    writtenName_.clear();
    return error;
}

void DownloadFolder::Abandon() {
    if (writtenName_.empty())
        return;
    if (resumable_)
        Flush();
    buffer_.clear();
    file_.Close();
    if (!resumable_)
        folder_.Remove(writtenName_);
    writtenName_.clear();
}

} // namespace comms
