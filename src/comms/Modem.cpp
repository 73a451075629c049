#include "comms/Modem.h"

#include "comms/ComPort.h"

#include <algorithm>
#include <array>

namespace comms {

namespace {

constexpr int kPauseMs = 500;
// The modem's guard time is a second; we keep a little more, since the modem measures from the
// moment it read the last byte, which may be later than the moment we wrote it.
constexpr int kGuardMs = 1200;
constexpr qsizetype kMaxLine = 128;

} // namespace

TModem::TModem(TComPort* port, QObject* parent) : QObject(parent), port_(port) {
    stepTimer_.setSingleShot(true);
    resultTimer_.setSingleShot(true);
    connect(&stepTimer_, &QTimer::timeout, this, &TModem::RunSteps);
    connect(&resultTimer_, &QTimer::timeout, this, &TModem::CommandTimedOut);
    connect(port_, &TComPort::DataReceived, this, &TModem::Read);
}

QString TModem::ResponseText(TModemResponse response) const {
    return responses_[static_cast<int>(response)];
}

void TModem::SetResponseText(TModemResponse response, const QString& text) {
    responses_[static_cast<int>(response)] = text;
    if (response == TModemResponse::NoCarrier)
        port_->SetNoCarrierText(text);
}

void TModem::SetActive(bool active) {
    active_ = active;
    if (!active) {
        steps_.clear();
        stepTimer_.stop();
        resultTimer_.stop();
        line_.clear();
    }
}

void TModem::Initialize() {
    Queue(initCmd_, qRound(cmdTimeout_ * kTickMs));
}

void TModem::Configure() {
    Queue(configCmd_, qRound(cmdTimeout_ * kTickMs));
}

void TModem::Answer() {
    Queue(answerCmd_, dialTimeout_ * 1000);
}

void TModem::Dial(const QString& number) {
    Queue(dialCmd_ + number + dialTerm_, dialTimeout_ * 1000);
}

void TModem::CancelDial() {
    resultTimer_.stop();
    steps_.clear();
    stepTimer_.stop();
    Queue(dialCancel_, 0);
}

void TModem::HangUp() {
    resultTimer_.stop();
    Queue(hangupCmd_, 0);
}

void TModem::SendCommand(const QString& command) {
    Queue(command, 0);
}

QByteArray TModem::Expand(const QString& command) {
    const QByteArray text = command.toLatin1();
    QByteArray bytes;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        const bool control =
            text[i] == '^' && ((next >= '@' && next <= '_') || (next >= 'a' && next <= 'z'));
        if (control) {
            bytes += static_cast<char>(next & 0x1F);
            ++i;
        } else {
            bytes += text[i];
        }
    }
    return bytes;
}

void TModem::Queue(const QString& command, int waitMs) {
    if (!active_ || !port_->Open() || command.isEmpty())
        return;
    const QByteArray bytes = Expand(command);
    std::deque<Step> steps;
    if (bytes.startsWith("+++"))
        steps.push_back({{}, 0, true});
    Step step;
    for (char c : bytes) {
        if (c == '~') {
            step.pauseMs += kPauseMs;
            continue;
        }
        if (step.pauseMs > 0) {
            steps.push_back(step);
            step = {};
        }
        step.bytes += c;
    }
    steps.push_back(step);
    steps.back().resultWaitMs = waitMs;
    steps_.insert(steps_.end(), steps.begin(), steps.end());
    RunSteps();
}

void TModem::RunSteps() {
    while (!steps_.empty() && !stepTimer_.isActive()) {
        Step& step = steps_.front();
        if (step.guard) {
            step.guard = false;
            // Any byte written to the port counts (typed keys, a transfer's answers), not
            // only the modem's own commands.
            const qint64 sinceWrite = port_->MsSinceWrite();
            const qint64 quiet = sinceWrite >= 0 ? sinceWrite : kGuardMs;
            if (quiet < kGuardMs) {
                stepTimer_.start(static_cast<int>(kGuardMs - quiet));
                return;
            }
        }
        const Step current = step;
        steps_.pop_front();
        if (!current.bytes.isEmpty())
            port_->Write(current.bytes);
        if (current.resultWaitMs > 0)
            resultTimer_.start(current.resultWaitMs);
        if (current.pauseMs > 0)
            stepTimer_.start(current.pauseMs);
    }
}

void TModem::Read(const QByteArray& bytes) {
    if (!active_)
        return;
    for (char c : bytes) {
        if (c != '\r' && c != '\n') {
            if (line_.size() < kMaxLine)
                line_ += c;
            continue;
        }
        const QString line = QString::fromLatin1(line_).trimmed();
        line_.clear();
        if (!line.isEmpty())
            ResultLine(line);
    }
}

void TModem::ResultLine(const QString& line) {
    std::array<int, 8> order{0, 1, 2, 3, 4, 5, 6, 7};
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return responses_[a].size() > responses_[b].size(); });
    for (int index : order) {
        if (responses_[index].isEmpty() || !line.startsWith(responses_[index]))
            continue;
        const auto response = static_cast<TModemResponse>(index);
        if (response != TModemResponse::Ring)
            resultTimer_.stop();
        emit Response(response, line);
        return;
    }
}

} // namespace comms
