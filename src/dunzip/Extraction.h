// One extracting run over an open archive: every member that matches the member pattern is
// checked, asked about, and written through a temporary file into the destination (see dunzip.h
// for the contract). What the run asks and reports goes to a Host: the callbacks of a command
// block, or a test's own.
#pragma once

#include <string>
#include <zip.h>

namespace unzip {

class Host {
public:
    virtual ~Host() = default;

    // The text with a DUNZIP_TEXT_ number, as the host wants it shown (Windows-1252).
    virtual std::string Text(int number) = 0;
    // True cancels the run.
    virtual bool MinorStatus(const std::string& item, int percent) = 0;
    virtual bool MajorStatus(const std::string& item, int percent) = 0;
    // DUNZIP_YES, DUNZIP_NO or DUNZIP_CANCEL; anything else counts as No.
    virtual int Ask(const std::string& question, const std::string& caption) = 0;
    // A DUNZIP_STOP_ reason with its detail and message.
    virtual void Stopped(int reason, int detail, const std::string& message,
                         const std::string& caption) = 0;
};

struct ExtractOptions {
    std::string archiveShown;     // the archive as the caller named it, for texts
    std::string destination;      // native folder
    std::string destinationShown; // as the caller named it; a DOS path joins members with "\"
    std::string fileSpec = "*.*"; // DOS wildcard, matched against a member's name or last part
    bool overwrite = false;
    bool overwriteReadOnly = false;
};

struct ExtractResult {
    int result = 0; // a DUNZIP_ result
    int filesWritten = 0;
};

ExtractResult Extract(zip_t& archive, const ExtractOptions& options, Host& host);

// The cause of a libzip error as the host words it.
std::string ZipErrorCause(Host& host, int zipError);

} // namespace unzip
