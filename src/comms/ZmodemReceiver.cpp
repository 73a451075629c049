#include "comms/ZmodemReceiver.h"

namespace comms {

using namespace zmodem;

namespace {

constexpr std::size_t kMaxAttention = 32;
// In an attention string these two stand for a break and a one-second pause; a network or
// pseudo-terminal line has neither, so they are left out.
constexpr char kAttentionBreak = '\xDD';
constexpr char kAttentionPause = '\xDE';

const std::string kSenderCancelled = "Der Sender hat die \xDC"
                                     "bertragung abgebrochen";
const std::string kIncomplete = "unvollst\xE4ndig";
const std::string kTransferDone = "\xDC"
                                  "bertragung beendet";

} // namespace

ZmodemReceiver::ZmodemReceiver(ZmodemHost& host, DownloadFolder& folder, ZmodemOptions options)
    : host_(host), folder_(folder), options_(options), decoder_(*this) {}

void ZmodemReceiver::Start() {
    SendInit();
}

std::size_t ZmodemReceiver::Feed(std::string_view bytes) {
    std::size_t used = 0;
    while (used < bytes.size() && state_ != State::Done) {
        if (state_ == State::Ending && bytes[used] == 'O') {
            ++used;
            if (++endingOs_ == 2)
                Finish(true, kTransferDone);
            continue;
        }
        const State before = state_;
        used += decoder_.Feed(bytes.substr(used), [&] {
            return state_ == State::Done || (state_ == State::Ending) != (before == State::Ending);
        });
    }
    return used;
}

void ZmodemReceiver::Timeout() {
    if (state_ == State::Done)
        return;
    if (state_ == State::Ending) {
        Finish(true, kTransferDone);
        return;
    }
    if (++timeoutsInRow_ > options_.maxTimeouts) {
        Cancel("Zeit\xFC"
               "berschreitung: der Sender antwortet nicht");
        return;
    }
    if (inFile_) {
        Error("Zeit\xFC"
              "berschreitung");
        if (state_ != State::Done)
            AskForPosition();
    } else {
        SendInit();
    }
}

void ZmodemReceiver::Abort(const std::string& reason) {
    if (state_ != State::Done)
        Cancel(reason);
}

void ZmodemReceiver::LineLost() {
    if (state_ == State::Done)
        return;
    if (state_ == State::Ending) {
        // The batch was complete; a sender that hangs up at once may not have sent "OO".
        Finish(true, kTransferDone);
        return;
    }
    const std::string message = "Die Verbindung ist unterbrochen";
    if (inFile_)
        EndFile(ReceivedFile::Failed, message);
    Finish(false, message);
}

void ZmodemReceiver::OnFrame(const Frame& frame) {
    switch (frame.kind) {
    case Frame::Header:
        timeoutsInRow_ = 0;
        OnHeader(frame);
        break;
    case Frame::Data:
        timeoutsInRow_ = 0;
        OnData(frame);
        break;
    case Frame::BadHeader:
        Error("Fehlerhafter Rahmenkopf");
        if (state_ != State::Done && inFile_)
            AskForPosition();
        break;
    case Frame::BadData:
        Error("Pr\xFC"
              "fsummenfehler");
        if (state_ == State::Done)
            break;
        if (inFile_) {
            AskForPosition();
        } else {
            state_ = State::WaitHeader;
            Send(ZNAK);
        }
        break;
    case Frame::Cancel:
        if (inFile_)
            EndFile(ReceivedFile::Failed, kSenderCancelled);
        Finish(false, kSenderCancelled);
        break;
    }
}

void ZmodemReceiver::OnHeader(const Frame& frame) {
    switch (frame.type) {
    case ZRQINIT:
        if (state_ != State::Ending)
            SendInit();
        break;
    case ZSINIT:
        state_ = State::SinitData;
        decoder_.ExpectData(frame.crc32);
        break;
    case ZFILE:
        if (inFile_)
            EndFile(ReceivedFile::Failed, kIncomplete);
        resumeOffered_ = frame.data[3] == ZCRESUM;
        state_ = State::FileInfo;
        decoder_.ExpectData(frame.crc32);
        break;
    case ZDATA:
        if (!inFile_)
            break;
        if (PositionOf(frame.data) != position_) {
            Error("Daten an falscher Stelle");
            if (state_ != State::Done)
                AskForPosition();
            break;
        }
        state_ = State::FileData;
        decoder_.ExpectData(frame.crc32);
        break;
    case ZEOF:
        OnEndOfFile(PositionOf(frame.data));
        break;
    case ZFIN:
        OnFin();
        break;
    case ZCAN:
    case ZABORT:
        if (inFile_)
            EndFile(ReceivedFile::Failed, kSenderCancelled);
        Finish(false, kSenderCancelled);
        break;
    case ZCOMMAND:
        state_ = State::CommandData;
        decoder_.ExpectData(frame.crc32);
        break;
    case ZFREECNT:
        Send(ZACK);
        break;
    default:
        break;
    }
}

void ZmodemReceiver::OnData(const Frame& frame) {
    switch (state_) {
    case State::SinitData:
        attention_.clear();
        for (char c : frame.bytes.substr(0, frame.bytes.find('\0')))
            if (c != kAttentionBreak && c != kAttentionPause && attention_.size() < kMaxAttention)
                attention_ += c;
        state_ = State::WaitHeader;
        Send(ZACK, {1, 0, 0, 0});
        break;
    case State::CommandData:
        // A sender may not run commands here: the command is answered as failed.
        host_.TransferError("Befehl des Senders abgelehnt");
        state_ = State::WaitHeader;
        Send(ZCOMPL, PositionBytes(1));
        break;
    case State::FileInfo:
        OnFileInformation(frame.bytes);
        break;
    case State::FileData:
        OnFileData(frame);
        break;
    default:
        break;
    }
}

void ZmodemReceiver::OnFileInformation(std::string_view block) {
    FileOffer offer = ParseFileInformation(block);
    offer.resumeOffered = resumeOffered_;
    const DownloadFolder::Start start = folder_.Begin(offer);
    state_ = State::WaitHeader;
    decoder_.ExpectHeader();
    if (start.decision != DownloadFolder::Decision::Receive) {
        const bool skipped = start.decision == DownloadFolder::Decision::Skip;
        host_.FileEnds({start.name, skipped ? std::max<std::int64_t>(offer.length, 0) : 0,
                        skipped ? ReceivedFile::Skipped : ReceivedFile::Failed, start.reason});
        Send(ZSKIP);
        return;
    }
    inFile_ = true;
    fileName_ = start.name;
    position_ = start.offset;
    errorsInRow_ = 0;
    host_.FileBegins(fileName_, offer.length, position_);
    Send(ZRPOS, PositionBytes(position_));
}

void ZmodemReceiver::OnFileData(const Frame& frame) {
    if (!frame.bytes.empty()) {
        if (const int error = folder_.Write(frame.bytes)) {
            Cancel(fileName_ + ": " + FileErrorText(error));
            return;
        }
        position_ += static_cast<std::int64_t>(frame.bytes.size());
        errorsInRow_ = 0;
        host_.FileProgress(position_);
    }
    if (frame.end == ZCRCQ || frame.end == ZCRCW)
        Send(ZACK, PositionBytes(position_));
    if (frame.end == ZCRCE || frame.end == ZCRCW)
        state_ = State::WaitHeader;
}

void ZmodemReceiver::OnEndOfFile(std::int64_t position) {
    if (!inFile_) {
        SendInit();
        return;
    }
    // An end announced before data we asked for again: the next silent interval repeats the
    // request.
    if (position != position_)
        return;
    const int error = folder_.Complete();
    if (error)
        EndFile(ReceivedFile::Failed, FileErrorText(error));
    else
        EndFile(ReceivedFile::Ok, {});
    SendInit();
}

void ZmodemReceiver::OnFin() {
    if (inFile_)
        EndFile(ReceivedFile::Failed, kIncomplete);
    state_ = State::Ending;
    endingOs_ = 0;
    decoder_.ExpectHeader();
    Send(ZFIN);
}

void ZmodemReceiver::Error(const std::string& message) {
    ++totalErrors_;
    host_.TransferError(message);
    if (++errorsInRow_ > options_.maxErrors)
        Cancel("Zu viele \xDC"
               "bertragungsfehler");
}

void ZmodemReceiver::Send(FrameType type, const HeaderData& data) {
    host_.SendToLine(HexHeader(type, data));
}

void ZmodemReceiver::SendInit() {
    state_ = State::WaitHeader;
    decoder_.ExpectHeader();
    const std::uint8_t flags = CANFDX | CANOVIO | (options_.crc32 ? CANFC32 : 0);
    Send(ZRINIT, {0, 0, 0, flags});
}

void ZmodemReceiver::AskForPosition() {
    state_ = State::WaitHeader;
    decoder_.ExpectHeader();
    if (!attention_.empty())
        host_.SendToLine(attention_);
    Send(ZRPOS, PositionBytes(position_));
}

void ZmodemReceiver::EndFile(ReceivedFile::Status status, const std::string& message) {
    inFile_ = false;
    if (status != ReceivedFile::Ok)
        folder_.Abandon();
    host_.FileEnds({fileName_, position_, status, message});
}

void ZmodemReceiver::Finish(bool completed, const std::string& message) {
    state_ = State::Done;
    host_.Finished(completed, message);
}

void ZmodemReceiver::Cancel(const std::string& message) {
    host_.SendToLine(CancelSequence());
    if (inFile_)
        EndFile(ReceivedFile::Failed, message);
    Finish(false, message);
}

} // namespace comms
