#include "comms/SzPeer.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <random>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace comms_test {

LrzszPeer::LrzszPeer(const std::string& program, const std::vector<std::string>& args,
                     const std::string& folder, Line line) {
    int fds[2];
    if (line == Line::PseudoTerminal) {
        fds[1] = posix_openpt(O_RDWR | O_NOCTTY);
        if (fds[1] < 0 || grantpt(fds[1]) != 0 || unlockpt(fds[1]) != 0)
            return;
        device_ = ptsname(fds[1]);
        // The slave side is held open here, raw from the start, so nothing the program writes
        // before the test opens it is echoed back to the program.
        fds[0] = open(device_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios raw{};
        tcgetattr(fds[0], &raw);
        cfmakeraw(&raw);
        tcsetattr(fds[0], TCSANOW, &raw);
    } else if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) {
        return;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folder.c_str()) != 0)
            _exit(126);
        const int log = open("sz.log", O_WRONLY | O_CREAT | O_APPEND, 0644);
        dup2(fds[1], 0);
        dup2(fds[1], 1);
        if (log >= 0)
            dup2(log, 2);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execvp(program.c_str(), argv.data());
        _exit(127);
    }
    close(fds[1]);
    fd_ = fds[0];
    pid_ = pid;
}

LrzszPeer::~LrzszPeer() {
    CloseLine();
    if (pid_ > 0 && Wait(5000) == -1)
        pid_ = -1;
}

void LrzszPeer::CloseLine() {
    if (fd_ >= 0)
        close(fd_);
    fd_ = -1;
}

int LrzszPeer::Wait(int timeoutMs) {
    if (pid_ <= 0)
        return -1;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    int status = 0;
    while (waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
            pid_ = -1;
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string RandomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

} // namespace comms_test
