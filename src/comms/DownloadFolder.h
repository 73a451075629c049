// Where received files go: the destination folder and the rules for each file a sender offers.
//
// A sent name is untrusted. Only its last path component is used; an empty name, ".", "..",
// or one with control characters becomes "Datei1", "Datei2" … (the first free). Nothing is
// written outside the folder, and never through a symbolic link (platform::Folder).
//
// For each offer: a name outside the file mask is skipped; an existing file of the same length
// and date is skipped as identical; an existing shorter file is resumed at its length when the
// sender offers resuming and recovery is on; any other existing file is replaced only once the
// new one is complete (it is received under a temporary name). A failed file is kept only where
// recovery can resume it: a new file received under its own name with recovery on.
#pragma once

#include "platform/FolderFiles.h"

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace comms {

// What the sender says of a file.
struct FileOffer {
    std::string name;         // as sent (8-bit)
    std::int64_t length = -1; // -1 when not given
    std::time_t modified = 0; // 0 when not given
    bool resumeOffered = false;
};

// The ZFILE information block: "name\0length mtime mode ...\0", numbers decimal and octal.
// Missing or malformed numbers count as not given.
FileOffer ParseFileInformation(std::string_view block);

// The name a file is written under, or empty when the sent name is unusable as it stands.
std::string SafeName(std::string_view sentName);

class DownloadFolder {
public:
    enum class Decision { Receive, Skip, Fail };

    struct Start {
        Decision decision = Decision::Fail;
        std::string name;        // the name in the folder
        std::int64_t offset = 0; // where receiving starts (resume)
        std::string reason;      // German, for Skip and Fail
    };

    DownloadFolder(std::string nativeFolder, std::string fileMask, bool recovery);

    // Decides on the offer and, for Receive, opens the file.
    Start Begin(const FileOffer& offer);
    // Appends data to the open file (gathered into larger writes); 0 or the Windows error number.
    int Write(std::string_view data);
    // Closes the complete file under its name, dated as the sender's; 0 or the error number.
    int Complete();
    // Closes a file that did not arrive whole, keeping it only where recovery can resume it.
    void Abandon();
    bool FileOpen() const { return file_.IsOpen(); }

private:
    std::string FreeSafeName() const;
    int Flush();
    Start Open(const std::string& name, const FileOffer& offer);

    std::string folderPath_;
    std::string mask_;
    bool recovery_;
    platform::Folder folder_;
    platform::FolderFile file_;
    std::string finalName_;
    std::string writtenName_; // finalName_ or a temporary name
    std::time_t modified_ = 0;
    bool resumable_ = false;
    std::string buffer_;
};

// German text for a Windows error number of a file operation.
std::string FileErrorText(int error);

} // namespace comms
