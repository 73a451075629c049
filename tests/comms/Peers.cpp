#include "comms/Peers.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <stdlib.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace comms_test {

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    return true;
}

void Pump(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
}

Pty::Pty() : master_(posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK)) {
    grantpt(master_);
    unlockpt(master_);
}

std::string Pty::Slave() const {
    return ptsname(master_);
}

bool Pty::Send(const std::string& bytes) {
    return write(master_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
}

std::string Pty::Received() {
    char buffer[256];
    ssize_t n = 0;
    while ((n = read(master_, buffer, sizeof buffer)) > 0)
        received_.append(buffer, static_cast<std::size_t>(n));
    return received_;
}

void Pty::CloseMaster() {
    if (master_ >= 0)
        close(master_);
    master_ = -1;
}

PeerProcess::PeerProcess(const std::string& script, const std::vector<std::string>& args,
                         const std::string& readyFile) {
    const std::string path = std::string(COMMS_PEERS_DIR) + "/" + script;
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> argv{const_cast<char*>("python3"), const_cast<char*>(path.c_str())};
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execvp("python3", argv.data());
        _exit(127);
    }
    pid_ = pid;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        std::ifstream in(readyFile);
        std::string text;
        if (std::getline(in, text) && !text.empty()) {
            readyText_ = text;
            return;
        }
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

PeerProcess::~PeerProcess() {
    Stop();
}

void PeerProcess::Stop() {
    if (pid_ <= 0)
        return;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
}

Mailbox::Mailbox(const std::vector<std::string>& files, const std::vector<std::string>& options)
    : portFile_(state_.File("port")) {
    std::vector<std::string> args{"--port-file", portFile_, "--folder", folder_.Path().string()};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back("--");
    args.insert(args.end(), files.begin(), files.end());
    process_ = std::make_unique<PeerProcess>("bbs.py", args, portFile_);
}

int Mailbox::Port() const {
    return std::stoi(process_->ReadyText());
}

ModemEmulator::ModemEmulator(const Mailbox& mailbox, const std::vector<std::string>& options)
    : process_(
          "modem.py",
          [&] {
              std::vector<std::string> args{"--device-file", state_.File("device"),
                                            "--bbs-port-file", mailbox.PortFile()};
              args.insert(args.end(), options.begin(), options.end());
              return args;
          }(),
          state_.File("device")) {}

std::vector<std::string> ExpectedWelcomeScreen() {
    std::ifstream in(std::string(COMMS_PEERS_DIR) + "/welcome.expected");
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

} // namespace comms_test
