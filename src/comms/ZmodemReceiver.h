// The ZModem receiver: answers a sender's batch, file by file, into a DownloadFolder.
//
// It is a state machine without clock or line of its own: the host feeds it the line's bytes,
// sends what it asks to send, and calls Timeout() when the line stayed silent for the retry
// interval. Every way of ending (the batch done, the sender or the user cancelling, the line
// lost, too many errors, a write error) is reported once through Finished().
#pragma once

#include "comms/DownloadFolder.h"
#include "comms/ZmodemFrames.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

namespace comms {

struct ReceivedFile {
    enum Status { Ok, Skipped, Failed };
    std::string name;      // the name in the destination folder
    std::int64_t size = 0; // bytes in the file (skipped: the length offered)
    Status status = Failed;
    std::string message; // German, why it was skipped or failed
};

// What the receiver needs of its surroundings. Texts are Windows-1252.
class ZmodemHost {
public:
    virtual ~ZmodemHost() = default;
    virtual void SendToLine(std::string_view bytes) = 0;
    virtual void FileBegins(const std::string& name, std::int64_t length, std::int64_t offset) = 0;
    virtual void FileProgress(std::int64_t bytesInFile) = 0;
    virtual void FileEnds(const ReceivedFile& file) = 0;
    // A recoverable error: the receiver asked the sender to repeat.
    virtual void TransferError(const std::string& message) = 0;
    virtual void Finished(bool completed, const std::string& message) = 0;
};

struct ZmodemOptions {
    bool crc32 = true;   // ask for CRC-32 frames; CRC-16 otherwise
    int maxErrors = 20;  // errors in a row without progress before giving up
    int maxTimeouts = 6; // silent retry intervals in a row before giving up
};

class ZmodemReceiver : private zmodem::FrameSink {
public:
    ZmodemReceiver(ZmodemHost& host, DownloadFolder& folder, ZmodemOptions options = {});

    // Invites the sender (ZRINIT).
    void Start();
    // Line bytes; returns how many belonged to the transfer. Once it has finished, the rest of
    // the line belongs to whoever had it before.
    std::size_t Feed(std::string_view bytes);
    void Timeout();
    // Ends the transfer by cancelling it; reason is shown as the outcome.
    void Abort(const std::string& reason);
    // The line is gone: ends without sending anything.
    void LineLost();

    bool Running() const { return state_ != State::Done; }
    // The batch is done and the sender's closing "OO" is due.
    bool AwaitingEnd() const { return state_ == State::Ending; }
    int ErrorCount() const { return totalErrors_; }

private:
    enum class State {
        WaitHeader,  // between frames
        FileInfo,    // ZFILE's subpacket is due
        SinitData,   // ZSINIT's subpacket is due
        CommandData, // ZCOMMAND's subpacket is due
        FileData,    // ZDATA subpackets are coming
        Ending,      // ZFIN answered, the sender's "OO" is due
        Done
    };

    void OnFrame(const zmodem::Frame& frame) override;
    void OnHeader(const zmodem::Frame& frame);
    void OnData(const zmodem::Frame& frame);
    void OnFileInformation(std::string_view block);
    void OnFileData(const zmodem::Frame& frame);
    void OnEndOfFile(std::int64_t position);
    void OnFin();
    void Error(const std::string& message);
    void Send(zmodem::FrameType type, const zmodem::HeaderData& data = {});
    void SendInit();
    void AskForPosition();
    void EndFile(ReceivedFile::Status status, const std::string& message);
    void Finish(bool completed, const std::string& message);
    void Cancel(const std::string& message);

    ZmodemHost& host_;
    DownloadFolder& folder_;
    ZmodemOptions options_;
    zmodem::FrameDecoder decoder_;
    State state_ = State::WaitHeader;
    std::string attention_;
    std::string fileName_;
    std::int64_t fileLength_ = -1;
    std::int64_t position_ = 0;
    bool inFile_ = false;
    bool resumeOffered_ = false;
    int errorsInRow_ = 0;
    int timeoutsInRow_ = 0;
    int totalErrors_ = 0;
    int endingOs_ = 0;
};

} // namespace comms
