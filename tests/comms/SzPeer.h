// lrzsz's sz (or rz) as a peer on one end of a socket pair: the test holds the other end.
// The program runs in a folder of the test's choosing; its messages go to a log file there
// ("sz.log"), never to the test's output. The destructor ends it if it still runs.
#pragma once

#include <string>
#include <vector>

namespace comms_test {

class LrzszPeer {
public:
    // program is "sz" or "rz"; args follow it.
    enum class Line { SocketPair, PseudoTerminal };

    // With Line::PseudoTerminal the program runs on the master side of a new pseudo-terminal
    // and the test opens Device(), its slave side (Fd() then holds that side open as well).
    LrzszPeer(const std::string& program, const std::vector<std::string>& args,
              const std::string& folder, Line line = Line::SocketPair);
    ~LrzszPeer();
    LrzszPeer(const LrzszPeer&) = delete;
    LrzszPeer& operator=(const LrzszPeer&) = delete;

    int Fd() const { return fd_; }
    const std::string& Device() const { return device_; }
    // Closes the test's end (the peer sees the line drop).
    void CloseLine();
    // The exit status, waiting at most timeoutMs; -1 when it did not end in time (it is then
    // killed).
    int Wait(int timeoutMs = 30000);

private:
    int fd_ = -1;
    int pid_ = -1;
    std::string device_;
};

// Writes size bytes of seeded pseudo-random data.
std::string RandomBytes(std::size_t size, unsigned seed);

} // namespace comms_test
