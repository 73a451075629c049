#include "catalog/Container.h"

#include "catalog/Records.h"
#include "platform/MappedFileStream.h"
#include "rtl/LittleEndian.h"

#include <exception>
#include <vector>

namespace catalog {

std::string WrongVersionMessage() {
    return "Falsche Datendateien - bitte kopieren Sie die richtigen Dateien der Version: " +
           std::to_string(kDataFileVersion & 0xFFFF) + " in das DATA-Verzeichnis!";
}

// ---- TIndexedStream

TIndexedStream::TIndexedStream(rtl::TStream& dataStream, rtl::TStream& indexStream)
    : dataStream_(dataStream), packer_(dataStream), index_(indexStream) {}

bool TIndexedStream::FindEntry(TIndexEntry& entry) {
    constexpr std::int32_t kEntriesPerRead = 4096;
    std::vector<std::uint8_t> chunk(kEntriesPerRead * kIndexEntrySize);
    index_.SetPosition(0);
    std::int32_t got = 0;
    while ((got = index_.Read(chunk.data(), static_cast<std::int32_t>(chunk.size()))) > 0) {
        // A chunk ending inside an entry gives its part back for the next read.
        const std::int32_t whole = got - got % kIndexEntrySize;
        if (whole != got)
            index_.Seek(whole - got, rtl::SeekOrigin::Current);
        if (whole == 0)
            break;
        for (std::int32_t at = 0; at < whole; at += kIndexEntrySize) {
            const std::uint8_t* bytes = chunk.data() + at;
            if (static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8) == entry.Id) {
                entry.Reserved = static_cast<std::uint16_t>(bytes[2] | bytes[3] << 8);
                entry.Offset = rtl::LoadU32(bytes + 4);
                return true;
            }
        }
    }
    return false;
}

void TIndexedStream::AddEntry(std::uint16_t id, std::uint32_t offset) {
    std::uint8_t bytes[kIndexEntrySize] = {};
    bytes[0] = static_cast<std::uint8_t>(id);
    bytes[1] = static_cast<std::uint8_t>(id >> 8);
    rtl::StoreU32(bytes + 4, offset);
    index_.WriteBuffer(bytes, kIndexEntrySize);
}

// ---- TBrowzerContainer

TBrowzerContainer::TBrowzerContainer(rtl::TComponent* owner)
    : rtl::TComponent(owner),
      OnWrongVersion([](const std::string& message) { throw EBrowzerError(message); }) {}

TBrowzerContainer::~TBrowzerContainer() {
    CloseFiles();
}

void TBrowzerContainer::SetActive(bool value) {
    if (value == active_)
        return;
    active_ = value;
    CloseFiles();
    if (value)
        OpenFiles();
}

void TBrowzerContainer::OpenFiles() {
    dataFile_ = std::make_unique<platform::TMappedFileStream>(DataFileName);
    indexFile_ = std::make_unique<rtl::TFileStream>(IndexFileName, rtl::FileMode::OpenRead);
    indexed_ = std::make_unique<TIndexedStream>(*dataFile_, *indexFile_);
}

void TBrowzerContainer::CloseFiles() {
    indexed_.reset();
    indexFile_.reset();
    dataFile_.reset();
}

bool TBrowzerContainer::VersionMatches() {
    if (!indexed_)
        return true; // the files failed to open, which was reported then
    rtl::TStream& data = indexed_->DataStream();
    std::uint8_t bytes[4] = {};
    data.SetPosition(0);
    data.Read(bytes, 4);
    data.SetPosition(0);
    return rtl::LoadU32(bytes) == kDataFileVersion;
}

// The read step's errors are swallowed and the check passes, as at every start-up; the hook is
// called outside that guard, so whatever it throws (and its exit) is never swallowed. Active is
// back to its old value before the hook runs.
void TBrowzerContainer::CheckVersion() {
    const bool wasActive = active_;
    SetActive(true);
    bool matches = true;
    try {
        matches = VersionMatches();
    } catch (const std::exception&) {
        // An unreadable version word lets the start-up go on.
    }
    SetActive(wasActive);
    if (matches)
        return;
    if (!OnWrongVersion)
        throw EBrowzerError(WrongVersionMessage());
    OnWrongVersion(WrongVersionMessage());
}

void TBrowzerContainer::LoadTree(TTreeViewData& treeData) {
    if (!active_)
        return;
    treeData_ = &treeData;
    TScriptOutlineText outline(nullptr, &treeData);
    TIndexEntry entry;
    entry.Id = kOutlineTextId;
    if (!indexed_ || !indexed_->FindEntry(entry))
        throw EBrowzerError(kNoOutlineMessage);
    indexed_->DataStream().SetPosition(entry.Offset);
    outline.AssignStream(*indexed_);
    outline.Load();
}

} // namespace catalog
