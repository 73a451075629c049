// The catalogue on disk: the data file (version word, then packed records) and the index file
// (8-byte entries of type id and data offset). TBrowzerContainer opens both read-only, checks
// the version and loads the overview tree; TIndexedStream bundles the data stream, the packed
// stream over it and the index.
#pragma once

#include "catalog/PackedStream.h"
#include "catalog/TreeViewData.h"
#include "rtl/Component.h"
#include "rtl/Exceptions.h"
#include "rtl/Stream.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace catalog {

class EBrowzerError : public rtl::Exception {
    using Exception::Exception;
};

inline constexpr const char* kDefaultDataFileName = "Vitrine32.dat";
inline constexpr const char* kDefaultIndexFileName = "Vitrine32.idx";
// Bytes 03 00 02 00 at the start of the data file.
inline constexpr std::uint32_t kDataFileVersion = 0x00020003u;
inline constexpr const char* kNoOutlineMessage = "Konnte OutlineText nicht laden!";
// "Falsche Datendateien - bitte kopieren Sie die richtigen Dateien der Version: 3 in das
// DATA-Verzeichnis!"
std::string WrongVersionMessage();

struct TIndexEntry {
    std::uint16_t Id = 0;
    std::uint16_t Reserved = 0;
    std::uint32_t Offset = 0;
};
inline constexpr int kIndexEntrySize = 8;

class TIndexedStream {
public:
    // Neither stream is owned. The index is scanned where it is, never copied whole, so an
    // index of any size costs no more memory than a small buffer.
    TIndexedStream(rtl::TStream& dataStream, rtl::TStream& indexStream);
    TIndexedStream(const TIndexedStream&) = delete;
    TIndexedStream& operator=(const TIndexedStream&) = delete;

    rtl::TStream& DataStream() const { return dataStream_; }
    TKVPacker& Packer() { return packer_; }
    rtl::TStream& Index() const { return index_; }

    // The first entry with entry.Id: copied into entry, true. False (entry unchanged) when the
    // index has none; a trailing part entry is not an entry.
    bool FindEntry(TIndexEntry& entry);
    // One entry at the index's current position, reserved half 0.
    void AddEntry(std::uint16_t id, std::uint32_t offset);

private:
    rtl::TStream& dataStream_;
    TKVPacker packer_;
    rtl::TStream& index_;
};

class TBrowzerContainer : public rtl::TComponent {
public:
    explicit TBrowzerContainer(rtl::TComponent* owner);
    ~TBrowzerContainer() override;

    bool Active() const { return active_; }
    // Opens (closing first) or closes both files; nothing happens when the value is unchanged.
    // A file that cannot be opened is EFOpenError; Active stays true and Active := false
    // releases what was opened.
    void SetActive(bool value);

    // The tree data LoadTree last filled (not owned); null before.
    TTreeViewData* TreeData() const { return treeData_; }
    std::string DataFileName = kDefaultDataFileName;
    std::string IndexFileName = kDefaultIndexFileName;

    // Reports a wrong version word to OnWrongVersion, leaving Active as it was. Errors while
    // reading the word are swallowed (the check passes); a data file shorter than 4 bytes has a
    // wrong version. An error opening the files, and whatever the hook throws, reach the caller.
    void CheckVersion();
    // Does nothing when not Active. Loads the outline record (first index entry of id 3) into
    // treeData, which stays the caller's: EBrowzerError "Konnte OutlineText nicht laden!" when
    // there is none (or the files failed to open); read errors propagate.
    void LoadTree(TTreeViewData& treeData);

    // The open catalogue's streams; null when closed.
    TIndexedStream* Indexed() const { return indexed_.get(); }

    // Called with WrongVersionMessage(). The viewer shows it and exits with code 1, the command
    // line tool prints it and exits with status 1. Default: throws EBrowzerError with it.
    std::function<void(const std::string& message)> OnWrongVersion;

private:
    void OpenFiles();
    void CloseFiles();
    bool VersionMatches();

    bool active_ = false;
    TTreeViewData* treeData_ = nullptr;
    std::unique_ptr<rtl::TFileStream> indexFile_;
    std::unique_ptr<rtl::TStream> dataFile_; // read through one mapping
    std::unique_ptr<TIndexedStream> indexed_;
};

} // namespace catalog
